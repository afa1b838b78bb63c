#!/bin/bash
# Times 100,000 messages to a framework tree view against as many to a bare tree view of the
# platform on the same form, under Wine, alternately in one process; prints medians and the ratio.
#
# Usage: bench/message_path.sh [MESSAGES] [ROUNDS]   defaults 100000 and 5
# Environment: BENCH_PRESET  win64 (default) or win32
#              PEMCONV_WINEPREFIX, PEMCONV_DISPLAY_NUM  as for tools/wine-env.sh
# Exit status: 0 when the run completed, 2 when the program failed.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${BENCH_PRESET:-win64}
echo "Building bench_message_path ($preset) ..."
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j2 --target bench_message_path >/dev/null

. tools/wine-env.sh
wine_env_start
"$PEMCONV_WINE" "build/$preset/bench/bench_message_path.exe" "${1:-100000}" "${2:-5}" || exit 2
