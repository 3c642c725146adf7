#!/usr/bin/env bash
# Builds the fuzzers natively (clang, libFuzzer, ASan + UBSan) and runs each for the
# given number of seconds (default 15) from the seed corpora in fuzz/corpus/.
# Usage: scripts/fuzz.sh [seconds-per-target]     e.g. scripts/fuzz.sh 600 for a long run
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}
seconds=${1:-15}
cmake -S "$root/fuzz" -B "$build/fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/fuzz" -j "$(nproc)" -- --no-print-directory >/dev/null
failed=0
for target in text_to_int ini ini_roundtrip drop_text; do
  work=$(mktemp -d)
  cp "$root/fuzz/corpus/$target/"* "$work/"
  log=$build/fuzz/$target.log
  if "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len=20000 -timeout=10 \
       -artifact_prefix="$build/fuzz/$target-" "$work" >"$log" 2>&1; then
    runs=$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' || echo '?')
    echo "fuzz: $target: $runs executions in ${seconds}s, no finding"
  else
    echo "fuzz: $target: FINDING (see $log)"; tail -30 "$log"; failed=1
  fi
  rm -rf "$work"
done
exit $failed
