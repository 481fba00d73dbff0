#!/usr/bin/env bash
# Builds the release and packs it into build/dist/:
#   Varnoke-<version>.zip          the portable zip: one folder Varnoke\ to unpack and run
#   Varnoke-<version>-setup.exe    the installer (NSIS, Japanese, per user, no admin rights)
#   Varnoke-<version>.debug        the debug symbols of the shipped Varnoke.exe
# It first checks the release build: stripped, under 512 KB, importing system DLLs only,
# with its symbols in the file beside it, and every picture the help page shows present.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
WIN="$ROOT/build/win"
DIST="$ROOT/build/dist"
SIZE_LIMIT=524288
SYSTEM_DLLS="ADVAPI32 COMCTL32 COMDLG32 GDI32 KERNEL32 MSVCRT SHELL32 USER32 WINMM"

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" win >/dev/null

fail() {
  echo "package: $*" >&2
  exit 1
}

exe="$WIN/Varnoke.exe"
size="$(stat -c %s "$exe")"
[ "$size" -lt "$SIZE_LIMIT" ] || fail "Varnoke.exe is $size bytes, the limit is $SIZE_LIMIT"
while read -r dll; do
  name="$(echo "${dll%.*}" | tr '[:lower:]' '[:upper:]')"
  [[ " $SYSTEM_DLLS " == *" $name "* ]] || fail "Varnoke.exe imports $dll, not a system DLL"
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p')
sections="$(i686-w64-mingw32-objdump -h "$exe")"
if grep -q ' \.debug_' <<<"$sections"; then fail "Varnoke.exe is not stripped"; fi
grep -q ' \.gnu_debuglink ' <<<"$sections" || fail "Varnoke.exe does not name its symbol file"
for picture in $(grep -o 'src="images/[^"]*"' "$ROOT/src/res/Varnoke.html" | sed 's/src="images\/\(.*\)"/\1/'); do
  [ -f "$ROOT/docs/images/$picture" ] || fail "Varnoke.html shows images/$picture, which docs/images lacks"
done

version="$(sed -n 's/^ *VALUE "ProductVersion", "\(.*\)"/\1/p' "$ROOT/src/res/varnoke.rc")"
[ -n "$version" ] || fail "no ProductVersion in src/res/varnoke.rc"

rm -rf "$DIST"
stage="$DIST/stage/Varnoke"
mkdir -p "$stage/images"
cp "$exe" "$WIN/Varnoke.html" "$WIN/Symbol.txt" "$stage/"
cp "$ROOT"/docs/images/*.png "$stage/images/"
# The read-me is kept as UTF-8 in the repository; Windows editors expect CP932 and CR LF.
sed "s/@VERSION@/$version/; s/\$/\r/" "$ROOT/packaging/ReadMe.txt" | iconv -f UTF-8 -t CP932 \
  >"$stage/ReadMe.txt"

zip_file="$DIST/Varnoke-$version.zip"
(cd "$DIST/stage" && zip -q -r -X "$zip_file" Varnoke)
unzip -tq "$zip_file" >/dev/null || fail "the zip does not test clean"

setup="$DIST/Varnoke-$version-setup.exe"
makensis -INPUTCHARSET UTF8 -V2 -DSTAGE="$stage" -DOUTFILE="$setup" \
  -DICON="$ROOT/src/res/icons/varnoke.ico" "$ROOT/packaging/varnoke.nsi" >/dev/null
cp "$WIN/Varnoke.debug" "$DIST/Varnoke-$version.debug"

echo "package: Varnoke.exe $size bytes (limit $SIZE_LIMIT), imports system DLLs only"
ls -l "$zip_file" "$setup" "$DIST/Varnoke-$version.debug" | awk '{print "package: " $5 "\t" $9}'
