#!/usr/bin/env bash
# Builds Varnoke if needed and starts it under Wine (code page 932, a private prefix;
# the 64-bit build where this machine cannot run 32-bit code), together with a notepad to
# paste into. The prefix opens .txt files in Wine's
# notepad and hands .html files to winebrowser (the desktop's browser), so the help command
# and Space in a short-text menu open their files. With no X display it starts a private
# Xvfb with a Wine desktop that shows the tray, waits for the program, and writes a
# screenshot whose path it prints.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"

bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine_env.sh"
echo "run.sh: the $WIN_ARCH_NOTE"
bash "$ROOT/scripts/build.sh" "$WIN_BUILD" >/dev/null

# A fresh prefix knows the programs but has no .txt or .html extension pointing at them.
# (Wine 8's shell reads associations from HKEY_CLASSES_ROOT only.)
set_associations() {
  import_registry <<'REG'
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
[HKEY_CLASSES_ROOT\txtfile\shell\open\command]
@="\"C:\\windows\\system32\\notepad.exe\" \"%1\""
[HKEY_CLASSES_ROOT\.html]
@="htmlfile"
[HKEY_CLASSES_ROOT\.htm]
@="htmlfile"
[HKEY_CLASSES_ROOT\htmlfile\shell\open\command]
@="\"C:\\windows\\system32\\winebrowser.exe\" \"%1\""
REG
}

# Starts Varnoke, then a notepad with the focus, ready for the hot keys.
start_varnoke_and_notepad() {
  wine "$BUILD_WIN/Varnoke.exe" >/dev/null 2>&1 </dev/null &
  VARNOKE_PID=$!
  if ! wine "$BUILD_WIN/ui_step.exe" main 30000 </dev/null >/dev/null 2>&1; then
    echo "run.sh: Varnoke did not start" >&2
    exit 1
  fi
  wine notepad >/dev/null 2>&1 </dev/null &
  wine "$BUILD_WIN/ui_step.exe" focus "~メモ帳" </dev/null >/dev/null 2>&1 || true
}

try_it() {
  cat <<'TEXT'
Try it: type a few lines in the notepad and copy some of them (Ctrl+C), then press
Ctrl+Shift+C in the notepad and pick an entry: it is pasted there. Ctrl+Shift+V shows the
short-text menu. Hot keys reach Varnoke only while a Wine window has the focus.
TEXT
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  start_wineserver
  set_associations
  start_varnoke_and_notepad
  echo "Varnoke runs on $DISPLAY; end it from its tray menu (Varnokeの終了)."
  try_it
  wait "$VARNOKE_PID" || true
  # The notepad goes with it.
  stop_wineserver
  exit 0
fi

start_private_xvfb
trap 'stop_wineserver; stop_private_xvfb' EXIT
trap 'exit 130' INT TERM
start_wineserver
set_associations
# The prefix's virtual desktop has a taskbar, so the tray icon shows at its bottom right.
start_varnoke_and_notepad
sleep 2  # let the desktop paint the tray before the picture is taken
SHOT="$ROOT/build/varnoke-startup.png"
import -display "$DISPLAY" -window root "$SHOT"
echo "Varnoke is running on the private display $DISPLAY."
echo "Screenshot after start-up: $SHOT"
try_it
echo "Press Ctrl+C to end it."
wait
