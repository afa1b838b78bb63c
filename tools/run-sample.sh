#!/bin/bash
# Builds pem2txt and converts the bundled sample dictionary into out/sample, then lists the result.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native-release >/dev/null
cmake --build --preset native-release -j "$(nproc)" --target pem2txt
rm -rf out/sample && mkdir -p out/sample
build/native-release/cli/pem2txt samples/pemuriko out/sample
find out/sample -type f | sort | while read -r file; do
  printf '%6d bytes  %s\n' "$(stat -c %s "$file")" "$file"
done
