#!/usr/bin/env bash
# Builds the Windows program and tests (cross) and the native unit tests.
# Usage: scripts/build.sh [win|win64|native|fuzz|all]   (default: win and native)
#   win    the shipped 32-bit program, its tests and tools (build/win)
#   win64  the same for x86_64 (build/win64), for machines that cannot run 32-bit code
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build"
JOBS="${JOBS:-2}"
what="${1:-default}"

# build_cross FOLDER TOOLCHAIN
build_cross() {
  cmake -S "$ROOT" -B "$BUILD/$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$2.cmake" >/dev/null
  cmake --build "$BUILD/$1" -j "$JOBS"
}
build_win() { build_cross win mingw-i686; }
build_win64() { build_cross win64 mingw-x86_64; }
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
  win64) build_win64 ;;
  native) build_native ;;
  fuzz) build_fuzz ;;
  all) build_win; build_win64; build_native; build_fuzz ;;
  default) build_win; build_native ;;
  *) echo "usage: $0 [win|win64|native|fuzz|all]" >&2; exit 2 ;;
esac
