#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; prints "name | value | unit" lines.
# Usage: scripts/bench.sh [bench-name ...]   (default: every bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}  # another folder keeps parallel builds apart
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-bench.sh"
bench_start "$build/win64"
benches=("$@")
[ ${#benches[@]} -gt 0 ] || benches=($(cd "$build/win64/bench" && ls *_bench.exe | sed 's/\.exe$//'))
for b in "${benches[@]}"; do
  "$WINE_RUN" "B:\\bench\\$b.exe"
done
