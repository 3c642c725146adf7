#!/usr/bin/env bash
# The removal bench in one run: the Wine figures (directory task, contents task,
# cmd rd), then Linux rm -rf on the same tree made by the same exe on the same drive.
# Usage: SWEEP_BUILD=<build dir> bench/removal_bench.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}
"$root/scripts/setup.sh"
SWEEP_SKIP_WIN32=1 "$root/scripts/build.sh" >/dev/null 2>&1 ||
  cmake --build "$build/win64" --target removal_bench bench_warmup -- --no-print-directory >/dev/null
. "$root/scripts/wine-bench.sh"
bench_start "$build/win64"
"$WINE_RUN" 'B:\bench\removal_bench.exe'
made=$("$WINE_RUN" 'B:\bench\removal_bench.exe' --make-tree rm-tree | tr -d '\r' | tail -1)
unix_tree="$SWEEP_SCRATCH_UNIX/${made#S:\\}"
unix_tree=${unix_tree//\\//}
case "$unix_tree" in "$SWEEP_SCRATCH_UNIX"/bench-removal-*/rm-tree) ;; *) echo "unexpected tree $unix_tree" >&2; exit 1 ;; esac
start=$(date +%s.%N)
as_bench_user rm -rf -- "$unix_tree"
end=$(date +%s.%N)
printf '%-60s | %12.3f | s\n' "removal: tree: 20000 files in 2000 folders, Linux rm -rf" "$(echo "$end - $start" | bc -l)"
