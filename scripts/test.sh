#!/usr/bin/env bash
# Builds both exes and runs every test under Wine. Works on a fresh Debian 12 machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}  # another folder keeps parallel builds apart
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-bench.sh"
bench_start "$build/win64"
ctest --test-dir "$build/win64" --output-on-failure --timeout 600 "$@"
