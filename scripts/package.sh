# Builds the release and packs it into build/dist/, for ARCH win32 (the shipped program) and
# win64 (the same program for x86_64, which the tests run where 32-bit code cannot run):
#   Varnoke-<version>-ARCH.zip          the portable zip: one folder Varnoke\ to unpack and run
#   Varnoke-<version>-ARCH-setup.exe    the installer (NSIS, Japanese, per user, no admin rights)
#   Varnoke-<version>-ARCH.debug        the debug symbols of that Varnoke.exe
# It first checks each release build: stripped, under 700 KB, importing system DLLs only,
# with its symbols in the file beside it, and every picture the help page shows present.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DIST="$ROOT/build/dist"
SIZE_LIMIT=716800
SYSTEM_DLLS="ADVAPI32 COMCTL32 COMDLG32 GDI32 KERNEL32 MSVCRT SHELL32 USER32 WINMM"

bash "$ROOT/scripts/setup.sh"

fail() {
  echo "package: $*" >&2
  exit 1
}

for picture in $(grep -o 'src="images/[^"]*"' "$ROOT/src/res/Varnoke.html" | sed 's/src="images\/\(.*\)"/\1/'); do
  [ -f "$ROOT/docs/images/$picture" ] || fail "Varnoke.html shows images/$picture, which docs/images lacks"
done
version="$(sed -n 's/^ *VALUE "ProductVersion", "\(.*\)"/\1/p' "$ROOT/src/res/varnoke.rc")"
[ -n "$version" ] || fail "no ProductVersion in src/res/varnoke.rc"
rm -rf "$DIST"

# package BUILD ARCH OBJDUMP NSIS_TARGET
package() {
  local win="$ROOT/build/$1" arch="$2" objdump="$3" target="$4"
  bash "$ROOT/scripts/build.sh" "$1" >/dev/null
  local exe="$win/Varnoke.exe" size dll name sections
  size="$(stat -c %s "$exe")"
  [ "$size" -lt "$SIZE_LIMIT" ] || fail "$arch Varnoke.exe is $size bytes, the limit is $SIZE_LIMIT"
  while read -r dll; do
    name="$(echo "${dll%.*}" | tr '[:lower:]' '[:upper:]')"
    [[ " $SYSTEM_DLLS " == *" $name "* ]] || fail "$arch Varnoke.exe imports $dll, not a system DLL"
  done < <("$objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p')
  sections="$("$objdump" -h "$exe")"
  if grep -q ' \.debug_' <<<"$sections"; then fail "$arch Varnoke.exe is not stripped"; fi
  grep -q ' \.gnu_debuglink ' <<<"$sections" || fail "$arch Varnoke.exe does not name its symbol file"

  local stage="$DIST/stage-$arch/Varnoke"
  mkdir -p "$stage/images"
  cp "$exe" "$win/Varnoke.html" "$win/Symbol.txt" "$stage/"
  cp "$ROOT"/docs/images/*.png "$stage/images/"
  # The read-me is kept as UTF-8 in the repository; Windows editors expect CP932 and CR LF.
  sed "s/@VERSION@/$version/; s/\$/\r/" "$ROOT/packaging/ReadMe.txt" | iconv -f UTF-8 -t CP932 \
    >"$stage/ReadMe.txt"

  local base="$DIST/Varnoke-$version-$arch"
  (cd "$DIST/stage-$arch" && zip -q -r -X "$base.zip" Varnoke)
  unzip -tq "$base.zip" >/dev/null || fail "the $arch zip does not test clean"
  makensis -INPUTCHARSET UTF8 -V2 -DSTAGE="$stage" -DOUTFILE="$base-setup.exe" -DTARGET="$target" \
    -DICON="$ROOT/src/res/icons/varnoke.ico" "$ROOT/packaging/varnoke.nsi" >/dev/null
  cp "$win/Varnoke.debug" "$base.debug"

  echo "package: $arch Varnoke.exe $size bytes (limit $SIZE_LIMIT), imports system DLLs only"
  ls -l "$base.zip" "$base-setup.exe" "$base.debug" | awk '{print "package: " $5 "\t" $9}'
}

package win win32 i686-w64-mingw32-objdump x86-unicode
package win64 win64 x86_64-w64-mingw32-objdump amd64-unicode
