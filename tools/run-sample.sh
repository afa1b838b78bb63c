#!/bin/bash
# Builds pem2txt and converts the bundled sample dictionary into out/sample, then shows the result.
set -euo pipefail
cd "$(dirname "$0")/.."
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake --preset native-release && cmake --build --preset native-release -j "$(nproc)" \
         --target pem2txt; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
rm -rf out/sample && mkdir -p out/sample
echo "$ pem2txt samples/pemuriko out/sample"
build/native-release/cli/pem2txt samples/pemuriko out/sample
echo
find out/sample -type f | sort | while read -r file; do
  printf '%6d bytes  %s\n' "$(stat -c %s "$file")" "$file"
done
first="out/sample/挨拶/おはよう.txt"
echo
echo "$first (code page 932, shown in UTF-8):"
iconv -f CP932 -t UTF-8 "$first"
