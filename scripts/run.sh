#!/usr/bin/env bash
# Builds the program and starts it under Wine, in a working folder of its own
# (run/ beside the sources), where cfg.ini and log.txt land beside the exe.
# Uses $DISPLAY when there is one, else starts an Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}  # another folder keeps parallel builds apart
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$root/run/prefix}
mkdir -p "$root/run/app"
cp "$build/win64/Sweepwarden.exe" "$root/run/app/"
if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root/run/display" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null' EXIT
  for _ in $(seq 100); do [ -s "$root/run/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$root/run/display")"
  echo "run: no DISPLAY; started Xvfb on $DISPLAY"
fi
cd "$root/run/app"
echo "run: starting $root/run/app/Sweepwarden.exe"
/usr/lib/wine/wine64 ./Sweepwarden.exe
