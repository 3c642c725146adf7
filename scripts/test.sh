#!/usr/bin/env bash
# Builds both exes, runs a short native fuzz of the window-free logic (about a
# minute), then every test under Wine. Works on a fresh Debian 12 machine.
# Extra arguments go to ctest; SWEEP_FUZZ_SECONDS sets the fuzz time per target
# (0 skips it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}  # another folder keeps parallel builds apart
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
fuzz_status=0
if [ "${SWEEP_FUZZ_SECONDS:-15}" != 0 ]; then
  "$root/scripts/fuzz.sh" "${SWEEP_FUZZ_SECONDS:-15}" || fuzz_status=1
fi
. "$root/scripts/wine-bench.sh"
bench_start "$build/win64"
test_status=0
ctest --test-dir "$build/win64" --output-on-failure --timeout 600 "$@" || test_status=1
[ $fuzz_status -eq 0 ] || echo "test: the fuzz run found a fault (see above)"
exit $((fuzz_status | test_status))
