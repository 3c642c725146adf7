#!/usr/bin/env bash
# Builds the shipped 32-bit exe (build/win32) and the tested 64-bit one with its
# tests and benchmarks (build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}  # another folder keeps parallel builds apart
jobs=$(nproc)
if [ "${SWEEP_SKIP_WIN32:-0}" != 1 ]; then
cmake -S "$root" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DSWEEP_TESTS=OFF >/dev/null
cmake --build "$build/win32" -j "$jobs" -- --no-print-directory
fi
cmake -S "$root" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DSWEEP_TESTS=ON >/dev/null
cmake --build "$build/win64" -j "$jobs" -- --no-print-directory
