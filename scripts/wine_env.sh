# Sourced by run.sh, test.sh and bench.sh: a private 32-bit Wine prefix in code page 932,
# and a private Xvfb when needed.
ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="$ROOT/build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
BUILD_WIN="$ROOT/build/win"
XVFB_PID=""

# Starts Xvfb on the first free display and exports DISPLAY.
start_private_xvfb() {
  local n
  for n in $(seq 91 130); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
          return 0
        fi
        sleep 0.1
      done
      echo "wine_env: Xvfb on :$n did not come up" >&2
      return 1
    fi
  done
  echo "wine_env: no free X display" >&2
  return 1
}

stop_private_xvfb() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}

# The wineserver must be up before any run whose output is captured: a server started
# by such a run would keep its pipes open and the reader would wait forever.
start_wineserver() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null || true
  fi
  # Every program runs in one virtual desktop with a taskbar, so the notification
  # area exists: without it Wine's Shell_NotifyIcon(NIM_DELETE) waits 2 s for a tray.
  # The desktop takes the setting when it starts, so the server starts afresh after it.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null || true
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
    >/dev/null 2>&1 </dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # One tiny windowed program brings the desktop process up, detached from our pipes.
  wine "$BUILD_WIN/min_window.exe" >/dev/null 2>&1 </dev/null || true
}

stop_wineserver() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
