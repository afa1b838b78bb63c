#!/bin/bash
# Runs pem2txt over the sample, over a generated dictionary, and over one whose run ends with an
# error, and fails on any leak. CHECKER is "lsan" for a pem2txt built with AddressSanitizer (its
# leak checker runs at exit), or the path of valgrind.
# Usage: leak_check.sh CHECKER PEM2TXT MAKE_DICTIONARY SAMPLE_DIR
set -euo pipefail
checker=$1 pem2txt=$2 make_dictionary=$3 sample=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_dictionary" "$work/generated" 12 150

# Runs pem2txt on a source into a fresh output folder; the exit status must be the expected one.
check() {
  local name=$1 source=$2 expected=$3 status=0
  local out="$work/out-$name"
  mkdir -p "$out"
  if [ -n "${4:-}" ]; then : >"$out/$4"; fi
  if [ "$checker" = lsan ]; then
    ASAN_OPTIONS=detect_leaks=1:exitcode=97 "$pem2txt" -q "$source" "$out" 2>"$work/$name.log" ||
      status=$?
  else
    "$checker" --quiet --leak-check=full --show-leak-kinds=all \
      --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=97 \
      "$pem2txt" -q "$source" "$out" 2>"$work/$name.log" || status=$?
  fi
  if [ "$status" -ne "$expected" ]; then
    cat "$work/$name.log"
    echo "leak check: $name: pem2txt exited with $status, expected $expected"
    exit 1
  fi
  echo "leak check: $name: no leak ($(find "$out" -type f | wc -l) files written)"
}

check sample "$sample" 0
check generated "$work/generated" 0
# The third category's folder is blocked by a file: the run ends with an error.
check failed-run "$work/generated" 1 "$(printf '\xe3\x82\xbd\xe3\x83\x95\xe3\x83\x88\xe8\xa1\xa8\xe7\x8f\xbe')"
