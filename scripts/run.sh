#!/usr/bin/env bash
# Builds Varnoke if needed and starts it under Wine (32-bit, code page 932, a private
# prefix). With no X display it starts a private Xvfb with a Wine desktop that shows
# the tray, waits for the program, and writes a screenshot whose path it prints.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" win >/dev/null
source "$ROOT/scripts/wine_env.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  start_wineserver
  echo "Varnoke runs on $DISPLAY; end it from its tray menu (Varnokeの終了)."
  exec wine "$BUILD_WIN/Varnoke.exe"
fi

start_private_xvfb
trap 'stop_wineserver; stop_private_xvfb' EXIT
trap 'exit 130' INT TERM
start_wineserver
# The prefix's virtual desktop has a taskbar, so the tray icon shows at its bottom right.
wine "$BUILD_WIN/Varnoke.exe" >/dev/null 2>&1 </dev/null &
if ! wine "$BUILD_WIN/wait_window.exe" Varnoke 30000 </dev/null >/dev/null 2>&1; then
  echo "run.sh: Varnoke did not start" >&2
  exit 1
fi
sleep 2  # let the desktop paint the tray before the picture is taken
SHOT="$ROOT/build/varnoke-startup.png"
import -display "$DISPLAY" -window root "$SHOT"
echo "Varnoke is running on the private display $DISPLAY."
echo "Screenshot after start-up: $SHOT"
echo "Press Ctrl+C to end it."
wait
