#!/usr/bin/env bash
# The layering rule: only *_win.cpp / *_win.h files may include Win32 headers or
# other *_win.h files. Everything else under src/ is portable and must build natively.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
WIN_HEADERS='windows|winuser|winbase|windef|winreg|wingdi|shellapi|commctrl|commdlg|mmsystem|shlobj|objbase|winnls|windowsx|tchar|winerror|process|io|direct'
status=0
while IFS= read -r -d '' f; do
  case "$f" in *_win.cpp|*_win.h) continue ;; esac
  if grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](${WIN_HEADERS})\.h[>\"]" "$f" \
     || grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"[^\"]*_win\.h\"" "$f"; then
    echo "check_layers: portable file includes Win32 code: ${f#$ROOT/}" >&2
    status=1
  fi
done < <(find "$ROOT/src" "$ROOT/fuzz" "$ROOT/bench" -maxdepth 2 -type f \( -name '*.cpp' -o -name '*.h' \) -not -path '*/bench/win/*' -print0)
if [ "$status" -eq 0 ]; then
  echo "check_layers: portable files include no Win32 headers"
fi
exit "$status"
