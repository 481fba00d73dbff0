#!/usr/bin/env bash
# Builds the Windows program and tests (cross) and the native unit tests.
# Usage: scripts/build.sh [win|native|fuzz|all]   (default: all but fuzz)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build"
JOBS="${JOBS:-2}"
what="${1:-default}"

build_win() {
  cmake -S "$ROOT" -B "$BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$BUILD/win" -j "$JOBS"
}
build_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
}
build_fuzz() {
  cmake -S "$ROOT" -B "$BUILD/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOKE_FUZZ=ON \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$BUILD/fuzz" -j "$JOBS"
}

case "$what" in
  win) build_win ;;
  native) build_native ;;
  fuzz) build_fuzz ;;
  all) build_win; build_native; build_fuzz ;;
  default) build_win; build_native ;;
  *) echo "usage: $0 [win|native|fuzz|all]" >&2; exit 2 ;;
esac
