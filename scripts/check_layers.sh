#!/usr/bin/env bash
# Two rules.
# 1. Only *_win.cpp / *_win.h files may include Win32 headers or other *_win.h files.
#    Everything else under src/ is portable and must build natively.
# 2. Includes point down: core/ is the bottom and includes only core/; app/ is the top and
#    no other folder under src/ includes "app/...". Subsystem folders (history/, menus/,
#    tray/, shorttext/, dialogs/) and framework/ take the shared vocabulary from core/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
WIN_HEADERS='windows|winuser|winbase|windef|winreg|wingdi|shellapi|commctrl|commdlg|mmsystem|shlobj|objbase|winnls|windowsx|tchar|winerror|process|io|direct'
INCLUDE='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
status=0
while IFS= read -r -d '' f; do
  case "$f" in *_win.cpp|*_win.h) continue ;; esac
  if grep -nE "${INCLUDE}[<\"](${WIN_HEADERS})\.h[>\"]" "$f" \
     || grep -nE "${INCLUDE}\"[^\"]*_win\.h\"" "$f"; then
    echo "check_layers: portable file includes Win32 code: ${f#$ROOT/}" >&2
    status=1
  fi
done < <(find "$ROOT/src" "$ROOT/fuzz" "$ROOT/bench" -maxdepth 2 -type f \( -name '*.cpp' -o -name '*.h' \) -not -path '*/bench/win/*' -print0)

# Prints the include lines of $1 that name a folder other than the ones allowed.
includes_outside() {
  grep -nE "${INCLUDE}\"[a-z]+/" "$1" | grep -vE "${INCLUDE#^}\"($2)/" || true
}
while IFS= read -r -d '' f; do
  folder="${f#$ROOT/src/}"
  folder="${folder%%/*}"
  case "$folder" in
    app|res) continue ;;
    core) up="$(includes_outside "$f" 'core')" ;;
    *) up="$(grep -nE "${INCLUDE}\"app/" "$f" || true)" ;;
  esac
  if [ -n "$up" ]; then
    echo "$up" >&2
    echo "check_layers: include points up from src/${folder}/: ${f#$ROOT/}" >&2
    status=1
  fi
done < <(find "$ROOT/src" -mindepth 2 -maxdepth 2 -type f \( -name '*.cpp' -o -name '*.h' \) -print0)

if [ "$status" -eq 0 ]; then
  echo "check_layers: portable files include no Win32 headers; no include points up"
fi
exit "$status"
