#!/bin/bash
# Times pem2txt (release build) against bench_baseline, a plain C program that creates the same
# folders and files with mkdir/open/write/close, on generated dictionaries in a RAM-backed folder,
# and checks the targets:
#   normal case (200 categories x 500 entries): pem2txt within 1.15x of the baseline;
#   worst case (one category of 20,000 entries, no expdata.ini): per entry at most 2x the normal
#   case;
#   peak memory under 3x the size of the three INI files plus 16 MiB.
# The two programs run alternately, each into a fresh empty folder; the figures are medians. It
# also checks that the per-entry comparison means something: the worst case must take far longer
# than the fixed cost of a run, and cost the plain writer about what the normal case does.
#
# Usage: bench/run.sh [RUNS]          RUNS per program and case, default 7
# Environment: BENCH_METRIC  cpu (default: user + system time of the process, which other load on
#                            the machine disturbs little) or wall (wall-clock time)
#              BENCH_TMP     where the work folder is made, default /dev/shm (removed at the end)
#              BENCH_BUILD   build folder, default build/bench-release
# Exit status: 0 when every target is met, 1 when one is missed, 2 when pem2txt's output differs
# from the baseline's or a program fails.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-7}
metric=${BENCH_METRIC:-cpu}
build=${BENCH_BUILD:-build/bench-release}
case $metric in cpu | wall) ;; *) echo "run.sh: BENCH_METRIC must be cpu or wall" >&2; exit 2 ;; esac

echo "Building pem2txt (native-release) in $build ..."
cmake --preset native-release -B "$build" >/dev/null
cmake --build "$build" -j2 --target pem2txt bench_baseline bench_measure >/dev/null
pem2txt=$build/cli/pem2txt
baseline=$build/bench/bench_baseline
measure=$build/bench/bench_measure

work=$(mktemp -d "${BENCH_TMP:-/dev/shm}/pemconv-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "Generating the dictionaries in $work ..."
for kind in normal worst empty; do
  python3 bench/gen_data.py "$kind" "$work/$kind" >"$work/$kind.summary"
done

# The value of key=value in a case's summary.
summary() { sed -n "s/.*\b$2=\([0-9]*\).*/\1/p" "$work/$1.summary"; }

# Runs one program into a fresh empty folder and appends "wall cpu rss status" to a record.
run_once() { # case program record
  local out=$work/$1/out-$2
  rm -rf "$out"
  mkdir "$out"
  local line
  if [ "$2" = baseline ]; then
    line=$("$measure" "$baseline" "$work/$1/expected.bin" "$out")
  else
    line=$("$measure" "$pem2txt" -q "$work/$1/install" "$out")
  fi
  echo "$line" >>"$3"
  if [ "${line##* }" != 0 ]; then
    echo "run.sh: $2 failed on the $1 case (status ${line##* })" >&2
    exit 2
  fi
}

# pem2txt's tree must equal the baseline's: the same names, the same bytes.
check_output() { # case
  local base=$work/$1/out-baseline pem=$work/$1/out-pem2txt
  if ! diff -r "$base" "$pem" >"$work/$1.diff"; then
    echo "run.sh: pem2txt's output differs from the baseline's in the $1 case:" >&2
    head -20 "$work/$1.diff" >&2
    exit 2
  fi
  local files
  files=$(find "$pem" -type f | wc -l)
  if [ "$files" != "$(summary "$1" entries)" ]; then
    echo "run.sh: $files files in the $1 case, expected $(summary "$1" entries)" >&2
    exit 2
  fi
  echo "  $1: output identical to the baseline's ($files files)"
}

echo "Running $runs rounds (baseline and pem2txt alternately) ..."
for ((round = 1; round <= runs; round++)); do
  for kind in normal worst; do
    run_once "$kind" baseline "$work/$kind.baseline"
    run_once "$kind" pem2txt "$work/$kind.pem2txt"
    [ "$round" -gt 1 ] || check_output "$kind"
  done
  run_once empty pem2txt "$work/empty.pem2txt"
done

column_of() { [ "$metric" = cpu ] && echo 2 || echo 1; }
# The median of one column of a record.
median() { # record column
  cut -d' ' -f"$2" "$1" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
peak_kib() { cut -d' ' -f3 "$1" | sort -g | tail -1; }
calc() { awk "BEGIN { printf(\"$1\", $2) }"; }

col=$(column_of)
for kind in normal worst; do
  declare "${kind}_base=$(median "$work/$kind.baseline" "$col")"
  declare "${kind}_pem=$(median "$work/$kind.pem2txt" "$col")"
  declare "${kind}_base_wall=$(median "$work/$kind.baseline" 1)"
  declare "${kind}_pem_wall=$(median "$work/$kind.pem2txt" 1)"
  declare "${kind}_peak=$(peak_kib "$work/$kind.pem2txt")"
  declare "${kind}_entries=$(summary "$kind" entries)"
  declare "${kind}_ini=$(summary "$kind" ini_bytes)"
done
empty_pem=$(median "$work/empty.pem2txt" "$col")
empty_pem=$(calc '%.6f' "$empty_pem > 0.0001 ? $empty_pem : 0.0001") # no division by zero

echo
echo "pem2txt against the plain writer: medians of $runs runs, $metric time in seconds" \
  "(wall-clock in brackets)"
printf '%-7s %8s %8s %10s %17s %17s %6s %11s %11s %9s %9s\n' case entries numbered \
  "INI bytes" baseline pem2txt ratio "pem2txt e/s" "baseline e/s" "peak MiB" "limit MiB"
for kind in normal worst; do
  b=${kind}_base p=${kind}_pem bw=${kind}_base_wall pw=${kind}_pem_wall
  e=${kind}_entries i=${kind}_ini k=${kind}_peak
  printf '%-7s %8d %8d %10d %17s %17s %6s %11s %11s %9s %9s\n' "$kind" "${!e}" \
    "$(summary "$kind" numbered)" "${!i}" \
    "$(calc '%.3f (%.2f)' "${!b}, ${!bw}")" "$(calc '%.3f (%.2f)' "${!p}, ${!pw}")" \
    "$(calc '%.2f' "${!p} / ${!b}")" "$(calc '%.0f' "${!e} / ${!p}")" \
    "$(calc '%.0f' "${!e} / ${!b}")" "$(calc '%.1f' "${!k} / 1024")" \
    "$(calc '%.1f' "(3 * ${!i} + 16 * 1048576) / 1048576")"
done
printf '%-7s %8d %8s %10s %17s %17s\n' empty 0 - "$(summary empty ini_bytes)" - \
  "$(calc '%.3f' "$empty_pem")"

failed=0
verdict() { # met? text...
  if [ "$1" = 1 ]; then echo "  [met]    ${*:2}"; else echo "  [MISSED] ${*:2}"; failed=1; fi
}
echo
echo "Targets:"
ratio=$(calc '%.2f' "$normal_pem / $normal_base")
# The ratio of each round, as a measure of how much the figures move from run to run.
spread=$(paste -d' ' <(cut -d' ' -f"$col" "$work/normal.pem2txt") \
  <(cut -d' ' -f"$col" "$work/normal.baseline") | awk '{ print $1 / $2 }' | sort -g |
  awk 'NR == 1 { low = $1 } { high = $1 } END { printf "%.2f-%.2f", low, high }')
verdict "$(calc '%d' "$normal_pem <= 1.15 * $normal_base")" \
  "normal case within 1.15x of the baseline: ${ratio}x (single rounds: $spread)"
per_normal=$(calc '%.9f' "$normal_pem / $normal_entries")
per_worst=$(calc '%.9f' "$worst_pem / $worst_entries")
verdict "$(calc '%d' "$per_worst <= 2 * $per_normal")" \
  "worst case per entry at most 2x the normal case: $(calc '%.2f' "$per_worst / $per_normal")x" \
  "($(calc '%.1f' "$per_worst * 1e6") vs $(calc '%.1f' "$per_normal * 1e6") us per entry)"
for kind in normal worst; do
  k=${kind}_peak i=${kind}_ini
  verdict "$(calc '%d' "${!k} * 1024 < 3 * ${!i} + 16 * 1048576")" \
    "peak memory of the $kind case under 3x its INI files + 16 MiB:" \
    "$(calc '%.1f' "${!k} / 1024") < $(calc '%.1f' "(3 * ${!i} + 16 * 1048576) / 1048576") MiB"
done
# The per-entry comparison says something only when the worst case's time is per-entry work, not
# the fixed cost of a run, and when its entries cost the plain writer what the normal ones do.
base_ratio=$(calc '%.2f' "($worst_base / $worst_entries) / ($normal_base / $normal_entries)")
verdict "$(calc '%d' "$worst_pem >= 20 * $empty_pem && $base_ratio >= 0.5 && $base_ratio <= 2")" \
  "the worst-case comparison is meaningful: its run takes $(calc '%.0f' "$worst_pem / $empty_pem")x" \
  "the fixed cost of a run ($(calc '%.3f' "$empty_pem") s), and the baseline's cost per entry" \
  "is ${base_ratio}x that of the normal case"
exit "$failed"
