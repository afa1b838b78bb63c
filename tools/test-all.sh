#!/bin/bash
# Builds pemconv and runs every test: the native suite, then the Windows build under Wine (with an
# Xvfb display for the GUI tests). Usage: tools/test-all.sh [stage ...]; without stages, all run.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

stage_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$jobs"
  ctest --preset native -j "$jobs"
}

stage_windows() {
  . tools/wine-env.sh
  # The 32-bit build is always compiled; it runs where the kernel runs 32-bit code.
  if [ "$PEMCONV_WINDOWS_PRESET" != win32 ]; then
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j "$jobs"
    echo "test-all: this kernel does not run 32-bit programs; testing the 64-bit build under Wine"
  fi
  cmake --preset "$PEMCONV_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$PEMCONV_WINDOWS_PRESET" -j "$jobs"
  # Wine (display first, then the prefix) only once the build is done, so that no Wine program
  # runs during it.
  wine_env_start
  trap wine_env_stop EXIT
  ctest --preset "$PEMCONV_WINDOWS_PRESET" -j "$jobs"
  # The windows once more at 150 % display scale, in a prefix of their own (PEMCONV_WINEPREFIX_144).
  wine_env_second_prefix "${PEMCONV_WINEPREFIX_144:-$WINEPREFIX-144}"
  wine_env_start
  wine_env_dpi 144
  ctest --preset "$PEMCONV_WINDOWS_PRESET" -L gui
}

# The whole native suite under AddressSanitizer and UndefinedBehaviorSanitizer; the leak check of
# pem2txt runs in it under LeakSanitizer.
stage_sanitize() {
  cmake --preset sanitize >/dev/null
  cmake --build --preset sanitize -j "$jobs"
  ctest --preset sanitize -j "$jobs"
}

# Every fuzz target for a bounded time (PEMCONV_FUZZ_SECONDS, default 60); tools/fuzz.sh for more.
stage_fuzz() {
  tools/fuzz.sh -t "${PEMCONV_FUZZ_SECONDS:-60}"
}

# Huge inputs (100 MB, a million keys, 10 MB lines): minutes and hundreds of megabytes of disk.
stage_slow() {
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$jobs"
  ctest --preset slow
}

tools/install-deps.sh

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(native windows sanitize fuzz slow)
for stage in "${stages[@]}"; do
  echo "=== test-all: $stage"
  "stage_$stage"
done
