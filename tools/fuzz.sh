#!/bin/bash
# Fuzzes the conversion with libFuzzer: builds the fuzz preset (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs every target for a bounded time, two at a time, growing a
# working corpus in build/fuzz-corpus/<target> from the committed seeds in tests/fuzz/corpus.
#
# Usage: tools/fuzz.sh [-t SECONDS] [-m] [target ...]
#   -t SECONDS  time per target (default 60; CI uses the default, a long run might use 3600)
#   -m          afterwards, merge the inputs that add coverage into tests/fuzz/corpus
# Targets: ini_reader number names conversion_run (default: all).
#
# A crash or a broken invariant stops its target and leaves the input in
# build/fuzz-artifacts/<target>/. Reproduce it with build/fuzz/tests/fuzz/fuzz_<target> FILE; once
# the cause is fixed, copy the input to tests/fuzz/regressions/<target>/, where every test run
# replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
merge=0
while getopts "t:m" option; do
  case $option in
    t) seconds=$OPTARG ;;
    m) merge=1 ;;
    *) sed -n '2,10p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini_reader number names conversion_run)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

# The whole-run target writes a sandbox per input: a memory file system makes it several times
# faster where one is at hand.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

logs=build/fuzz-logs
mkdir -p "$logs"

fuzz_one() {
  local target=$1
  mkdir -p "build/fuzz-corpus/$target" "build/fuzz-artifacts/$target"
  "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict=tests/fuzz/ini.dict -print_final_stats=1 \
    -artifact_prefix="build/fuzz-artifacts/$target/" \
    "build/fuzz-corpus/$target" "tests/fuzz/corpus/$target" >"$logs/$target.log" 2>&1
}

# Two at a time: the machines here have two cores.
declare -A status
running=()
for target in "${targets[@]}"; do
  echo "fuzz: $target for ${seconds} s"
  fuzz_one "$target" &
  running+=("$!:$target")
  if [ ${#running[@]} -ge 2 ]; then
    entry=${running[0]}
    running=("${running[@]:1}")
    wait "${entry%%:*}" && status[${entry#*:}]=0 || status[${entry#*:}]=$?
  fi
done
for entry in "${running[@]}"; do
  wait "${entry%%:*}" && status[${entry#*:}]=0 || status[${entry#*:}]=$?
done

failed=0
printf '%-16s %12s %10s %8s  %s\n' target executions exec/s corpus result
for target in "${targets[@]}"; do
  log="$logs/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  corpus=$(find "build/fuzz-corpus/$target" -type f | wc -l)
  result=ok
  if [ "${status[$target]}" -ne 0 ]; then
    result="FAILED (status ${status[$target]}, see $log)"
    failed=1
  fi
  printf '%-16s %12s %10s %8s  %s\n' "$target" "${runs:-?}" "${speed:-?}" "$corpus" "$result"
done

if [ "$failed" -ne 0 ]; then
  for target in "${targets[@]}"; do
    [ "${status[$target]}" -eq 0 ] && continue
    echo "=== fuzz: $target"
    grep -E -A30 'broken invariant|ERROR: (libFuzzer|AddressSanitizer|UndefinedBehaviorSanitizer)|runtime error' \
      "$logs/$target.log" | head -60
    ls "build/fuzz-artifacts/$target"
  done
  exit 1
fi

if [ "$merge" -eq 1 ]; then
  for target in "${targets[@]}"; do
    "build/fuzz/tests/fuzz/fuzz_$target" -merge=1 "tests/fuzz/corpus/$target" \
      "build/fuzz-corpus/$target" >"$logs/$target-merge.log" 2>&1
    echo "fuzz: $target: $(find "tests/fuzz/corpus/$target" -type f | wc -l) seeds after merging"
  done
fi
