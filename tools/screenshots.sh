#!/bin/bash
# Runs PemConv.exe under Wine on a virtual display and saves screenshots of its windows into
# doc/screenshots: the idle main window, the installation check's message box, the folder browser
# opened at the output folder, the select-folder dialog as it opens and with the installation
# folder (the bundled sample, copied into the Wine prefix for the while) selected several levels
# down, the window in the middle of a long run; then the main window and the dialog at 150 %
# display scale. Usage: tools/screenshots.sh [PemConv.exe] (default: the win64 build, built first
# when missing).
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
sample=""
long=""
# Only what this script started ends with it: the program, the sample's copy, and the display if
# it started one.
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$sample" ] && rm -rf "$sample"
  [ -n "$long" ] && rm -rf "$long"
  wine_env_stop_display
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

# The visible window with that title larger than the hidden ones of the same name.
large_window_named() {
  local id
  for id in $(xdotool search --onlyvisible --name "^$1\$"); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$WIDTH" -gt 100 ] && echo "$id"
  done
}

# The window as the screen shows it: cut from the whole screen, since a grab of the window itself
# can miss the caption buttons that Wine draws last.
shoot() {
  sleep 2  # let the window finish painting, caption buttons last
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$2"
  echo "screenshots: $out/$2"
}

# A key that closes the window it goes to: the key's release then finds the window gone, which
# xdotool reports as an error.
press_closing() {
  xdotool key --window "$1" "$2" 2>/dev/null || true
}

# Closes the main window with Alt+C and waits up to 10 s for the program to end; one that does
# not (the window was not active to take the key) is ended.
end_program() {
  press_closing "$main" alt+c
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""
}

mkdir -p "$out"

# The select-folder dialog on a folder of 5,000 sub-folders, scrolled to its middle, taken alone:
# PEMCONV_SHOTS=big-folder tools/screenshots.sh [PemConv.exe]
if [ "${PEMCONV_SHOTS:-}" = big-folder ]; then
  sample="$WINEPREFIX/drive_c/pemconv-many"
  mkdir -p "$sample"
  (cd "$sample" && seq -f 'folder %05g' 1 5000 | xargs -d '\n' mkdir -p)
  "$PEMCONV_WINE" "$exe" &
  program=$!
  main=$(window_named 'ぺむりこコンバータ')
  xdotool key --window "$main" alt+p space
  dialog=$(wait_for_window large_window_named 'PemConv')
  # Desktop > My Computer > (C:) > pemconv-many, then down to the middle folder a page at a time.
  xdotool key --window "$dialog" Down Down Right Down Down Right
  xdotool type --window "$dialog" --delay 50 'pemconv-many'
  xdotool key --window "$dialog" Right
  sleep 1.5
  xdotool key --window "$dialog" Down
  xdotool key --window "$dialog" --repeat 178 --delay 10 Next
  shoot "$dialog" select-folder-dialog-5000.png
  press_closing "$dialog" Escape
  press_closing "$main" alt+c
  wait "$program" || true
  program=""
  exit 0
fi

"$PEMCONV_WINE" "$exe" &
program=$!

main=$(window_named 'ぺむりこコンバータ')
shoot "$main" main-window.png

# OK with the default installation folder, which does not exist here: the check's box.
xdotool key --window "$main" alt+o
box=$(window_named 'error')
shoot "$box" installation-check.png
press_closing "$box" Return

# The output folder typed into Edit2, then its browse button (Alt+S, Space).
main=$(window_named 'ぺむりこコンバータ')
xdotool key --window "$main" Tab Tab
xdotool type --window "$main" 'C:\windows\system32'
xdotool key --window "$main" alt+s space
browser=$(wait_for_window other_window)
shoot "$browser" folder-browser.png
press_closing "$browser" Escape

# The installation folder's browse button (Alt+P, Space): the dialog titled after the program.
sample="$WINEPREFIX/drive_c/Program Files/pemuriko"
cp -r samples/pemuriko "$sample"
main=$(window_named 'ぺむりこコンバータ')
# Without a window manager the main window does not become active again when the browser
# closes, and an inactive window takes no keys: a click activates it.
xdotool mousemove --window "$main" 5 5 click 1
xdotool key --window "$main" alt+p space
dialog=$(wait_for_window large_window_named 'PemConv')
shoot "$dialog" select-folder-dialog.png
# Desktop > My Computer > (C:) > Program Files > pemuriko, typing the first letters of each name.
xdotool key --window "$dialog" Down Down Right Down Down Right
xdotool type --window "$dialog" --delay 50 'program f'
xdotool key --window "$dialog" Right
sleep 1.5  # a new name to look for, not the continuation of the last one
xdotool type --window "$dialog" --delay 50 'pemuriko'
shoot "$dialog" select-folder-dialog-deep.png
press_closing "$dialog" Escape
end_program

# A long run: a generated dictionary of 20 categories of 1,000 entries in the Wine prefix, the
# window shot half-way through it, while its progress bar advances.
long="$WINEPREFIX/drive_c/pemconv-long"
mkdir -p "$long/out"
python3 - "$long" <<'PY'
import sys
folder = sys.argv[1]
categories, texts, titles = ["[ItemData]", "Count=20"], [], []
for c in range(20):
    categories.append(f"{c}=カテゴリ{c}")
    texts += [f"[DicData{c}]", "Count=1000"] + [f"{e}=項目 {e} の本文" for e in range(1000)]
    titles += [f"[DicExpData{c}]"] + [f"{e}=項目{e}" for e in range(1000)]
for name, lines in (("pmridata.ini", categories), ("dicdata.ini", texts), ("expdata.ini", titles)):
    with open(f"{folder}/{name}", "wb") as file:
        file.write("\r\n".join(lines + [""]).encode("cp932"))
open(f"{folder}/pemri.exe", "wb").close()
PY
"$PEMCONV_WINE" "$exe" &
program=$!
main=$(window_named 'ぺむりこコンバータ')
# Edit1 has the focus with its text selected: typing replaces it.
xdotool type --window "$main" 'C:\pemconv-long\'
xdotool key --window "$main" Tab Tab
xdotool type --window "$main" 'C:\pemconv-long\out'
xdotool key --window "$main" alt+o
sleep 4
eval "$(xdotool getwindowgeometry --shell "$main")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/long-run.png"
echo "screenshots: $out/long-run.png"
box=$(window_named 'Infomation')
press_closing "$box" Return
main=$(window_named 'ぺむりこコンバータ')
xdotool mousemove --window "$main" 5 5 click 1
end_program
rm -rf "$long"

# The main window and the select-folder dialog again at 150 % display scale, in a prefix of their
# own (PEMCONV_WINEPREFIX_144).
rm -rf "$sample"
sample=""
wine_env_second_prefix "${PEMCONV_WINEPREFIX_144:-$WINEPREFIX-144}"
wine_env_start
wine_env_dpi 144
"$PEMCONV_WINE" "$exe" &
program=$!
main=$(window_named 'ぺむりこコンバータ')
shoot "$main" main-window-150.png
xdotool key --window "$main" alt+p space
dialog=$(wait_for_window large_window_named 'PemConv')
xdotool key --window "$dialog" Down Down Right
shoot "$dialog" select-folder-dialog-150.png
press_closing "$dialog" Escape
end_program
