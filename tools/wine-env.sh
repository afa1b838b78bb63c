# Sourced by the test scripts: a Wine prefix of our own with the settings that keep tests fast
# and reliable, one long-lived wineserver, and an Xvfb display for the GUI tests.
# Sets WINEPREFIX, WINEDEBUG and DISPLAY; `wine_env_stop` ends what was started.

export WINEPREFIX="${PEMCONV_WINEPREFIX:-$HOME/.wine-pemconv}"
export WINEDEBUG=-all
PEMCONV_TOOLS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# No Mono or Gecko install prompts, and no debugger: a crashing test fails instead of hanging the run.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# Wine runs 32-bit Windows programs only where the kernel runs 32-bit code; some virtual machines
# refuse it ("Exec format error"). There the 64-bit build is tested under 64-bit Wine instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export PEMCONV_WINE=/usr/lib/wine/wine PEMCONV_WINDOWS_PRESET=win32
else
  export PEMCONV_WINE=/usr/lib/wine/wine64 PEMCONV_WINDOWS_PRESET=win64
fi

wine_env_start() {
  # The display comes first: the first Wine program of a wineserver starts the desktop process,
  # and one started without a display leaves every window of the session without a driver
  # ("no driver could be loaded") until it exits, a minute or so later.
  wine_env_display || return 1
  wine_env_prefix || return 1
  # Without a window manager, managed windows stall for seconds on every hide or destroy. Checked
  # on every start: a prefix that Wine made by itself (a test run without this script) lacks it.
  wine_env_settle user.reg '^"Managed"="N"' wine_env_write_unmanaged || return 1
  wine_env_fonts
  wineserver -p 2>/dev/null || true
  # The first program of a fresh wineserver starts Wine's own services, which keep the standard
  # streams they inherit open: start them here, so that no test's output pipe stays open after it.
  "$PEMCONV_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

# A new prefix is made by wineboot. Its exit status is not the proof: on a fresh CI machine the
# making of a second prefix ended the script with 53 and nothing else to say. The prefix's registry
# and its system DLLs are the proof: a wineboot cut short leaves a registry with its first keys and
# an empty system32, where every later program fails with "could not load kernel32.dll". A failed
# try is followed by one more, and the log of a second failure is shown.
wine_env_prefix_made() {
  grep -q '^\[Software' "$WINEPREFIX/system.reg" 2>/dev/null &&
    [ -s "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]
}

wine_env_prefix() {
  wine_env_prefix_made && return 0
  echo "wine-env: creating the Wine prefix $WINEPREFIX" >&2
  local log="${TMPDIR:-/tmp}/wine-env-boot.$$.log" try
  for try in 1 2; do
    # Wine brings a prefix up to date only when this stamp differs from its own, and no program,
    # wineboot included, runs in one without its DLLs.
    rm -f "$WINEPREFIX/.update-timestamp"
    "$PEMCONV_WINE" wineboot -i >"$log" 2>&1 </dev/null || true
    wineserver -w 2>/dev/null || true
    wine_env_prefix_made && break
    echo "wine-env: the prefix is not complete after try $try" >&2
    wine_env_end_server
  done
  if ! wine_env_prefix_made; then
    cat "$log" >&2
    df -h "$WINEPREFIX" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# Moves to a second prefix ($1) for another display scale, made anew from the prefix in use on
# every run, so that no half-made copy of a run cut short is ever taken for a prefix. A prefix holds
# 1.3 GB of system binaries, and a CI machine may have little room left (the registry's saves fail
# then). The binaries, which nothing writes, are shared as hard links; every other file is copied,
# so that a write in one prefix never shows in the other. Where links cannot be made (another file
# system), wineboot makes it.
wine_env_second_prefix() {
  local from=$WINEPREFIX to=$1 windows=$1/drive_c/windows
  wine_env_end_server
  export WINEPREFIX=$to
  # A server left by an earlier run would keep the registry of the prefix that goes now.
  wine_env_end_server
  rm -rf "$to"
  if cp -al "$from" "$to" 2>/dev/null; then
    find "$to" -type f ! -path "$windows/system32/*" ! -path "$windows/syswow64/*" \
      ! -path "$windows/winsxs/*" -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv "$f.own" "$f"; done' \
      sh {} +
  else
    rm -rf "$to"
  fi
}

wine_env_display() {
  [ -n "${PEMCONV_DISPLAY_STARTED:-}" ] && return 0
  local num=${PEMCONV_DISPLAY_NUM:-97}
  # A display that answers is reused; the socket and lock of a killed server are stale and go.
  if ! DISPLAY=":$num" xdpyinfo >/dev/null 2>&1; then
    rm -f "/tmp/.X$num-lock" "/tmp/.X11-unix/X$num"
    Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    PEMCONV_XVFB_PID=$!
    for _ in $(seq 100); do DISPLAY=":$num" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    DISPLAY=":$num" xdpyinfo >/dev/null 2>&1 || {
      echo "wine-env: the virtual display :$num does not start" >&2
      return 1
    }
  fi
  export DISPLAY=":$num"
  export PEMCONV_DISPLAY_STARTED=1
}

# The Japanese faces that the GUI asks for ("ＭＳ Ｐゴシック", ...) drawn with the IPA fonts, once
# per prefix (tools/wine-fonts.reg; regedit reads UTF-16 files).
wine_env_fonts() {
  # The caption buttons are drawn with Marlett, which this Wine build does not find among its own
  # fonts (fonts-wine); the prefix's font folder is always searched.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/"
  fi
  local marker="$WINEPREFIX/.pemconv-fonts-1"
  [ -f "$marker" ] && return 0
  local reg
  reg=$(mktemp --suffix=.reg)
  { printf '\xff\xfe'; sed 's/$/\r/' "$PEMCONV_TOOLS_DIR/wine-fonts.reg" | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  "$PEMCONV_WINE" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 && touch "$marker"
  rm -f "$reg"
}

# The prefix's display scale in dots per inch (96 = 100 %, 144 = 150 %), after wine_env_start.
# Wine reads it when its server starts: a change restarts the server.
wine_env_dpi() {
  PEMCONV_DPI=$1
  wine_env_settle user.reg "$(printf '^"LogPixels"=dword:%08x' "$1")" wine_env_write_dpi || return 1
  wineserver -p 2>/dev/null || true
  "$PEMCONV_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

wine_env_write_unmanaged() {
  "$PEMCONV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
}

wine_env_write_dpi() {
  "$PEMCONV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PEMCONV_DPI" /f &&
    "$PEMCONV_WINE" reg add \
      'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$PEMCONV_DPI" /f
}

# A registry setting is proved by the prefix's file once the server has ended and saved it: the
# writes (the function $3) are made while the file $1 lacks the line $2, at most three times, as
# a fresh CI machine once ended up without the line and without a word. If the line never comes,
# what the last writes printed is shown.
wine_env_settle() {
  local file="$WINEPREFIX/$1" line=$2 writes=$3 try status
  local log="${TMPDIR:-/tmp}/wine-env-reg.$$.log"
  for try in 1 2 3; do
    grep -qi "$line" "$file" 2>/dev/null && { rm -f "$log"; return 0; }
    [ "$try" = 1 ] || echo "wine-env: $1 of $WINEPREFIX lacks $line after try $((try - 1))" >&2
    status=0
    "$writes" >"$log" 2>&1 </dev/null || status=$?
    echo "(exit status $status)" >>"$log"
    wine_env_end_server
  done
  grep -qi "$line" "$file" 2>/dev/null && { rm -f "$log"; return 0; }
  echo "wine-env: the prefix $WINEPREFIX does not take $line; reg said:" >&2
  cat "$log" >&2
  df -h "$WINEPREFIX" >&2
  rm -f "$log"
  return 1
}

# Ends the prefix's server and waits until it has saved the registry and gone.
wine_env_end_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Waits for the server and the display to be gone: a run started straight after this one would
# otherwise find them still answering, take them for its own, and lose them in its first tests.
wine_env_stop() {
  wine_env_end_server
  wine_env_stop_display
}

# Ends the display if wine_env_start started it.
wine_env_stop_display() {
  [ -n "${PEMCONV_XVFB_PID:-}" ] || return 0
  kill "$PEMCONV_XVFB_PID" 2>/dev/null || true
  wait "$PEMCONV_XVFB_PID" 2>/dev/null || true
}
