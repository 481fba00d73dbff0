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
bash "$ROOT/scripts/build.sh" win >/dev/null
source "$ROOT/scripts/wine_env.sh"
trap 'stop_wineserver; stop_private_xvfb' EXIT
start_private_xvfb
start_wineserver
for bench in startup_bench clipboard_bench memory_bench history_editor_bench; do
  echo "== $bench (Wine)"
  wine "$BUILD_WIN/$bench.exe" </dev/null
done
