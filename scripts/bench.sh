#!/usr/bin/env bash
# Runs every benchmark: the native ones (-O2, no sanitizers) and the Win32 ones under
# Wine. Each prints its figures and its ratio against a baseline measured in the same run.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$ROOT/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNOKE_SANITIZE=OFF >/dev/null
cmake --build "$ROOT/build/bench" -j 2
for bench in "$ROOT"/build/bench/*_bench; do
  echo "== $(basename "$bench")"
  "$bench"
done
source "$ROOT/scripts/wine_env.sh"
echo "== Wine benches on the $WIN_ARCH_NOTE"
bash "$ROOT/scripts/build.sh" "$WIN_BUILD" >/dev/null
trap 'stop_wineserver; stop_private_xvfb' EXIT
start_private_xvfb
# Every bench/win/*_bench.cpp is built into one program; each of them runs, with a server
# and desktop of its own: what one bench leaves behind (hundreds of menus and dialogs shown)
# made a later one slower, the paste's ratio 1.20-1.22 after the others against 1.18-1.19.
for source in "$ROOT"/bench/win/*_bench.cpp; do
  bench="$(basename "$source" .cpp)"
  echo "== $bench (Wine)"
  start_wineserver
  wine "$BUILD_WIN/$bench.exe" </dev/null
  stop_wineserver
done
