#!/usr/bin/env bash
# Builds everything and runs every test: the layering check, the native unit tests
# (ASan/UBSan), the fuzz targets for a bounded time, the release packages, then the
# end-to-end tests of the real Varnoke.exe (and of the packages) under Wine on a private
# Xvfb. Exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
FUZZ_SECONDS="${FUZZ_SECONDS:-30}"

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/check_layers.sh"

echo "== native unit tests"
bash "$ROOT/scripts/build.sh" native
(cd "$ROOT/build/native" && ctest --output-on-failure -j2 --timeout 120)

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
# The end-to-end tests run the program from the unpacked zip and install the installer.
rm -rf "$ROOT/build/dist/unzipped"
unzip -q "$ROOT"/build/dist/Varnoke-*.zip -d "$ROOT/build/dist/unzipped"

echo "== end-to-end tests under Wine"
bash "$ROOT/scripts/build.sh" win
source "$ROOT/scripts/wine_env.sh"
cleanup() { stop_wineserver; stop_private_xvfb; }
trap cleanup EXIT
start_private_xvfb
start_wineserver
timeout 900 wine "$BUILD_WIN/varnoke_e2e.exe" --gtest_color=no "$@" </dev/null
