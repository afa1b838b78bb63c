#!/bin/bash
# Times the shell folder tree on a folder of many sub-folders, under Wine, in one process and one
# run: opening it against the bare shell listing (EnumObjects, every child fetched and freed) and
# against a bare tree view filled with the same labels; a screenful of rows from the folder's
# middle, SelectedPath of the middle folder and closing the tree against their fixed limits. All
# run alternately; the figures are medians of wall-clock time.
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

folder="C:\\$(basename "$work")\\many"
middle="$folder\\$(printf 'folder %05d' $(((folders + 1) / 2)))"
"$PEMCONV_WINE" "$program" "$folder" "$middle" "$rounds" || exit 2
