# Sourced by run.sh, test.sh, bench.sh, stress.sh and pictures.sh: a private Wine prefix in
# code page 932, and a private Xvfb when needed.
#
# The programs run as the shipped 32-bit build wherever Wine's 32-bit loader starts. Some
# kernels refuse 32-bit Linux executables; there, and whenever VARNOKE_WIN64=1 asks for it,
# the 64-bit build (build/win64) runs under the 64-bit loader in a 64-bit prefix instead.
# WIN_BUILD names the build to make (build.sh win or win64), WIN_ARCH_NOTE says which and why.
ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64

choose_wine_arch() {
  local refusal
  if [ "${VARNOKE_WIN64:-0}" = 1 ]; then
    WIN_BUILD=win64
    WIN_ARCH_NOTE="64-bit build under 64-bit Wine: forced by VARNOKE_WIN64=1"
  elif refusal="$("$WINE32_LOADER" --version 2>&1 >/dev/null)"; then
    WIN_BUILD=win
    WIN_ARCH_NOTE="32-bit build under 32-bit Wine, the shipped program"
  else
    WIN_BUILD=win64
    WIN_ARCH_NOTE="64-bit build under 64-bit Wine: this machine cannot run 32-bit code ($WINE32_LOADER: ${refusal:-it did not start})"
  fi
  if [ "$WIN_BUILD" = win64 ]; then
    export WINEARCH=win64
    export WINELOADER="$WINE64_LOADER"
    PREFIX_SUFFIX=64
    # Debian's wine wrapper picks the 32-bit loader whenever wine32 is installed, and
    # wineboot, regedit and winepath call that wrapper: shadow it on PATH.
    local shim="$ROOT/build/wine64-path"
    mkdir -p "$shim"
    local name
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexec %s "$@"\n' "$WINE64_LOADER" >"$shim/$name"
      chmod +x "$shim/$name"
    done
    case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
  else
    export WINEARCH=win32
    PREFIX_SUFFIX=""
  fi
  BUILD_WIN="$ROOT/build/$WIN_BUILD"
}
choose_wine_arch
# Two runs in one prefix share its wineserver, and so the clipboard, the hot keys and the
# registry key that every test resets: each shell that sources this takes the first prefix
# no other shell holds (a lock held for the shell's lifetime), so that runs side by side on
# one machine never see each other's copies.
choose_wine_prefix() {
  local n suffix
  for n in "" 2 3 4 5 6 7 8; do
    suffix="$PREFIX_SUFFIX${n:+-$n}"
    mkdir -p "$ROOT/build"
    exec {WINEPREFIX_LOCK_FD}>"$ROOT/build/wineprefix$suffix.lock"
    if flock -n "$WINEPREFIX_LOCK_FD"; then
      export WINEPREFIX="$ROOT/build/wineprefix$suffix"
      return 0
    fi
    exec {WINEPREFIX_LOCK_FD}>&-
  done
  export WINEPREFIX="$ROOT/build/wineprefix$PREFIX_SUFFIX"
}
choose_wine_prefix
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
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
  # Title bars draw their buttons with Marlett (fonts-wine). Debian's Wine 8 does not find
  # it in its data folder, but it finds a copy in the prefix's Fonts folder.
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  import_registry <<'REG'
; Every program runs in one virtual desktop with a taskbar, so the notification area
; exists: without it Wine's Shell_NotifyIcon(NIM_DELETE) waits 2 s for a tray. The
; desktop takes the setting when it starts, so the server starts afresh after it.
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"
[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
; The fonts of a Japanese Windows, so dialogs are laid out and drawn as they would be there.
; The IPA fonts share the metrics of the MS Gothic family, and dialog units follow the font:
; with Noto CJK's taller lines every dialog would be about 40 % taller than on Windows.
[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
REG
  link_fonts
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # One tiny windowed program brings the desktop process up, detached from our pipes.
  wine "$BUILD_WIN/min_window.exe" >/dev/null 2>&1 </dev/null || true
}

# Korean and simplified Chinese in exact texts: Wine falls back to no other font by itself,
# so the faces the windows draw with are linked to Noto CJK (fonts-noto-cjk), as Windows
# links its own faces to its Korean and Chinese fonts. The link is looked up by the family
# name Wine uses, which under the Japanese locale is the IPA fonts' Japanese name. Emoji
# outside the basic plane still draw as boxes under Wine 8 whatever is linked.
link_fonts() {
  local links face lines=""
  links="$(multi_sz "NotoSansCJK-Regular.ttc,Noto Sans CJK KR" "NotoSansCJK-Regular.ttc,Noto Sans CJK SC")"
  for face in "IPA Pゴシック" "IPAゴシック" "Tahoma"; do
    lines+="\"$face\"=$links"$'\n'
  done
  import_registry <<REG
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
$lines
REG
}

# A REG_MULTI_SZ value in .reg syntax: hex(7): and the strings' UTF-16 bytes, each ended by a
# zero, and a zero after them.
multi_sz() {
  printf '%s\0' "$@" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 |
    tr -s ' \n' ',' | sed 's/^,//; s/,$//; s/^/hex(7):/; s/$/,00,00/'
}

# Imports registry settings given on stdin (.reg syntax without its header line) into the
# prefix. One regedit run instead of one reg.exe run per value; UTF-16 keeps the Japanese
# names intact whatever the code page.
import_registry() {
  local file
  file="$(mktemp --suffix=.reg)"
  { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; sed 's/$/\r/'; } \
    | iconv -f UTF-8 -t UTF-16 >"$file"
  wine regedit /S "$(winepath -w "$file")" >/dev/null 2>&1 </dev/null || true
  rm -f "$file"
}

stop_wineserver() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
