#!/usr/bin/env bash
# Three rules.
# 1. Only *_win.cpp / *_win.h files may include Win32 headers or other *_win.h files.
#    Everything else under src/ is portable and must build natively.
# 2. Each folder includes only the folders it is allowed (ALLOWED below): core/ is the
#    bottom, app/ the top, and a feature folder reaches another feature only where the list
#    says so. An include that points up or sideways outside the list fails.
# 3. A feature's Win32 glue (*_win.h) is included from its own folder, from framework/'s
#    (which is everyone's), and from app/, which wires the features together; never sideways
#    from another feature.
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

# The folders each folder may include, its own besides.
declare -A ALLOWED=(
  [core]='core'
  [framework]='core|res'
  [history]='core|framework|res'
  [menus]='core|history|framework|res'
  [search]='core|history|framework|res'
  [shorttext]='core|history|framework|res'
  [tray]='core|framework|res'
  [dialogs]='core|history|framework|res'
)
# Prints the include lines of $1 that name a folder other than the ones allowed.
includes_outside() {
  grep -nE "${INCLUDE}\"[a-z]+/" "$1" | grep -vE "${INCLUDE#^}\"($2)/" || true
}
while IFS= read -r -d '' f; do
  folder="${f#$ROOT/src/}"
  folder="${folder%%/*}"
  case "$folder" in
    app|res) continue ;;
  esac
  if [ -z "${ALLOWED[$folder]+set}" ]; then
    echo "check_layers: src/${folder}/ has no line in ALLOWED: ${f#$ROOT/}" >&2
    status=1
    continue
  fi
  outside="$(includes_outside "$f" "$folder|${ALLOWED[$folder]}")"
  sideways="$(grep -nE "${INCLUDE}\"[a-z]+/[a-z0-9_]+_win\.h\"" "$f" |
              grep -vE "${INCLUDE#^}\"($folder|framework)/" || true)"
  if [ -n "$outside" ]; then
    echo "$outside" >&2
    echo "check_layers: src/${folder}/ may include only ${ALLOWED[$folder]//|/, }: ${f#$ROOT/}" >&2
    status=1
  fi
  if [ -n "$sideways" ]; then
    echo "$sideways" >&2
    echo "check_layers: another feature's Win32 glue included sideways: ${f#$ROOT/}" >&2
    status=1
  fi
done < <(find "$ROOT/src" -mindepth 2 -maxdepth 2 -type f \( -name '*.cpp' -o -name '*.h' \) -print0)

if [ "$status" -eq 0 ]; then
  echo "check_layers: portable files include no Win32 headers; every include stays within its folder's allowed list"
fi
exit "$status"
