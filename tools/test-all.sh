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
  wine_env_start
  trap wine_env_stop EXIT
  # The 32-bit build is always compiled; it runs where the kernel runs 32-bit code.
  if [ "$PEMCONV_WINDOWS_PRESET" != win32 ]; then
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j "$jobs"
    echo "test-all: this kernel does not run 32-bit programs; testing the 64-bit build under Wine"
  fi
  cmake --preset "$PEMCONV_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$PEMCONV_WINDOWS_PRESET" -j "$jobs"
  ctest --preset "$PEMCONV_WINDOWS_PRESET" -j "$jobs"
}

tools/install-deps.sh

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(native windows)
for stage in "${stages[@]}"; do
  echo "=== test-all: $stage"
  "stage_$stage"
done
