#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; prints "name | value | unit" lines.
# Usage: scripts/bench.sh [bench-name ...]   (default: every bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-bench.sh"
bench_start "$root/build/win64"
benches=("$@")
[ ${#benches[@]} -gt 0 ] || benches=($(cd "$root/build/win64/bench" && ls *_bench.exe | sed 's/\.exe$//'))
for b in "${benches[@]}"; do
  "$WINE_RUN" "B:\\bench\\$b.exe"
done
