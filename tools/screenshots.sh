#!/bin/bash
# Runs PemConv.exe under Wine on a virtual display and saves screenshots of its windows into
# doc/screenshots: the idle main window, the installation check's message box and the folder
# browser opened at the output folder. Usage: tools/screenshots.sh [PemConv.exe]
# (default: the win64 build, built first when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/win64/app/PemConv.exe}
out=doc/screenshots

if [ ! -f "$exe" ] && [ -z "${1:-}" ]; then
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target PemConv -j "$(nproc)"
fi

export PEMCONV_DISPLAY_NUM=${PEMCONV_DISPLAY_NUM:-95}
. tools/wine-env.sh
wine_env_start
program=""
# Only what this script started ends with it: the program, and the display if it started one.
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "${PEMCONV_XVFB_PID:-}" ] && kill "$PEMCONV_XVFB_PID" 2>/dev/null || true
}
trap finish EXIT

# Waits (up to 30 s) until the command prints a window id, and prints it.
wait_for_window() {
  local id=""
  for _ in $(seq 300); do
    id=$("$@" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "screenshots: no window for: $*" >&2; exit 1; }
  echo "$id"
}

window_named() {
  wait_for_window xdotool search --onlyvisible --name "^$1\$"
}

# A visible window of the program other than the main window and larger than the hidden ones
# (the folder browser, whose caption is the platform's own).
other_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname 'pemconv.exe'); do
    [ "$id" = "$main" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$WIDTH" -gt 100 ] && echo "$id"
  done
}

shoot() {
  sleep 0.5  # let the window finish painting
  import -window "$1" "$out/$2"
  echo "screenshots: $out/$2"
}

mkdir -p "$out"
"$PEMCONV_WINE" "$exe" &
program=$!

main=$(window_named 'ぺむりこコンバータ')
shoot "$main" main-window.png

# OK with the default installation folder, which does not exist here: the check's box.
xdotool key --window "$main" alt+o
box=$(window_named 'error')
shoot "$box" installation-check.png
xdotool key --window "$box" Return

# The output folder typed into Edit2, then its browse button (Alt+S, Space).
main=$(window_named 'ぺむりこコンバータ')
xdotool key --window "$main" Tab Tab
xdotool type --window "$main" 'C:\windows\system32'
xdotool key --window "$main" alt+s space
browser=$(wait_for_window other_window)
shoot "$browser" folder-browser.png
xdotool key --window "$browser" Escape
xdotool key --window "$main" alt+c
wait "$program" || true
program=""
