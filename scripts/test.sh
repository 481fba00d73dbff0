#!/usr/bin/env bash
# Builds everything and runs every test: the layering check, the native unit tests
# (ASan/UBSan), the fuzz targets for a bounded time, the release packages, then the
# end-to-end tests of the real Varnoke.exe (and of the packages) under Wine on a private
# Xvfb. The end-to-end tests run the shipped 32-bit build, or the 64-bit one where this
# machine cannot run 32-bit code or VARNOKE_WIN64=1 asks for it (scripts/wine_env.sh).
# Exits non-zero on any failure; the last line counts the skipped tests.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
FUZZ_SECONDS="${FUZZ_SECONDS:-30}"

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/check_layers.sh"

echo "== native unit tests"
bash "$ROOT/scripts/build.sh" native
(cd "$ROOT/build/native" && ctest --output-on-failure -j2 --timeout 120) | tee "$ROOT/build/native/ctest.log"

echo "== fuzz targets (${FUZZ_SECONDS} s each)"
bash "$ROOT/scripts/build.sh" fuzz
for fuzzer in "$ROOT"/build/fuzz/*_fuzz; do
  [ -x "$fuzzer" ] || continue
  name="$(basename "$fuzzer" _fuzz)"
  corpus="$ROOT/build/fuzz/corpus-$name"
  rm -rf "$corpus" && mkdir -p "$corpus"
  if [ -d "$ROOT/fuzz/corpus/$name" ]; then
    cp -r "$ROOT/fuzz/corpus/$name/." "$corpus/"
  fi
  echo "-- $name"
  "$fuzzer" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" \
    >"$ROOT/build/fuzz/$name.log" 2>&1 || { tail -n 40 "$ROOT/build/fuzz/$name.log"; exit 1; }
  grep -E '^#[0-9]+.*DONE' "$ROOT/build/fuzz/$name.log" | tail -n 1 || true
done

echo "== release packages"
bash "$ROOT/scripts/package.sh"
source "$ROOT/scripts/wine_env.sh"
arch=win32
[ "$WIN_BUILD" = win64 ] && arch=win64
# The end-to-end tests run the program from the unpacked zip and install the installer.
rm -rf "$ROOT/build/dist/unzipped"
unzip -q "$ROOT"/build/dist/Varnoke-*-"$arch".zip -d "$ROOT/build/dist/unzipped"

echo "== end-to-end tests under Wine: $WIN_ARCH_NOTE"
bash "$ROOT/scripts/build.sh" "$WIN_BUILD"
cleanup() { stop_wineserver; stop_private_xvfb; }
trap cleanup EXIT
start_private_xvfb
start_wineserver
E2E_LOG="$BUILD_WIN/e2e.log"
status=0
VARNOKE_PACKAGES_BUILT=1 timeout 900 wine "$BUILD_WIN/varnoke_e2e.exe" --gtest_color=no "$@" \
  </dev/null | tee "$E2E_LOG" || status=$?

# A test that cannot run says why where it is skipped; the counts come last.
gtest_count() { tr -d '\r' <"$E2E_LOG" | sed -n "s/^\[  $1 *\] \([0-9]*\) tests\?[.,].*/\1/p" | tail -n 1; }
native_skipped="$(grep -c '\*\*\*Skipped' "$ROOT/build/native/ctest.log" || true)"
echo "test.sh: skipped native tests: ${native_skipped:-0}"
echo "test.sh: end-to-end tests on the $WIN_ARCH_NOTE"
passed="$(gtest_count PASSED)" failed="$(gtest_count FAILED)" skipped="$(gtest_count SKIPPED)"
echo "e2e: ${passed:-0} passed, ${failed:-0} failed, ${skipped:-0} skipped"
exit "$status"
