#!/bin/bash
# Times the shell folder tree expanding a folder of many sub-folders against the bare shell
# listing of the same folder (EnumObjects, every child fetched and freed), under Wine, in the
# same process and the same run. Both run alternately; the figures are medians of wall-clock time.
#
# Usage: bench/shell_tree.sh [FOLDERS] [ROUNDS]   defaults 5000 and 5
# Environment: BENCH_PRESET  win64 (default) or win32
#              PEMCONV_WINEPREFIX, PEMCONV_DISPLAY_NUM  as for tools/wine-env.sh
# Exit status: 0 when the run completed, 2 when a program failed.
set -euo pipefail
cd "$(dirname "$0")/.."

folders=${1:-5000}
rounds=${2:-5}
preset=${BENCH_PRESET:-win64}

echo "Building bench_shell_tree ($preset) ..."
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j2 --target bench_shell_tree >/dev/null
program=build/$preset/bench/bench_shell_tree.exe

. tools/wine-env.sh
wine_env_start

# Inside the prefix's own drive: a quiet folder that nothing else touches while the run goes.
work=$(mktemp -d "$WINEPREFIX/drive_c/pemconv-shell-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "Making $folders folders in $work ..."
(cd "$work" && mkdir many && cd many && seq -f 'folder %05g' 1 "$folders" | xargs -d '\n' mkdir)

"$PEMCONV_WINE" "$program" "C:\\$(basename "$work")\\many" "$rounds" || exit 2
