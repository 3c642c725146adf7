# Sourced by the scripts that run our exes under Wine. bench_start sets up:
# - a throw-away WINEPREFIX with the Chinese locale (ANSI code page 936);
# - a scratch folder mapped as drive S:, the only drive a test may change files on;
#   the build folder is mapped as drive B:, and drive Z: (the whole Linux file
#   system) is removed from the prefix so a faulty removal cannot reach it;
# - a persistent wineserver, and an Xvfb display unless one is given (keep_display);
# - XDG_DATA_HOME in the scratch area, so the Recycle Bin is $XDG_DATA_HOME/Trash.
# - when run as root, an unprivileged bench user who owns all of it and runs every
#   Wine process (scripts/wine-run.sh), so read-only files and closed folders are
#   refused as on Windows, and nothing outside the bench can be removed.
# bench_stop ends them all and removes the folders.

bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINE_RUN=$bench_dir/wine-run.sh
WINESERVER=/usr/lib/wine/wineserver

as_bench_user() {
  if [ -n "${SWEEP_BENCH_USER:-}" ]; then runuser -u "$SWEEP_BENCH_USER" -- "$@"; else "$@"; fi
}

bench_start() {
  local build_dir=$1
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  BENCH_ROOT=$(mktemp -d /tmp/sweep-bench.XXXXXX)
  if [ "$(id -u)" -eq 0 ]; then
    export SWEEP_BENCH_USER=sweepbench
    id "$SWEEP_BENCH_USER" >/dev/null 2>&1 || useradd -M -d /nonexistent -s /usr/sbin/nologin "$SWEEP_BENCH_USER"
  fi
  export WINEPREFIX=$BENCH_ROOT/prefix
  export SWEEP_SCRATCH_UNIX=$BENCH_ROOT/scratch
  export SWEEP_SCRATCH='S:'
  export XDG_DATA_HOME=$BENCH_ROOT/xdg-data
  mkdir -p "$SWEEP_SCRATCH_UNIX" "$XDG_DATA_HOME"
  [ -n "${SWEEP_BENCH_USER:-}" ] && chown -R "$SWEEP_BENCH_USER" "$BENCH_ROOT"
  if [ "${keep_display:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    local fd_file=$BENCH_ROOT/display
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    BENCH_XVFB=$!
    for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$fd_file")"
  fi
  "$WINE_RUN" wineboot -i </dev/null >/dev/null 2>&1 || true
  as_bench_user "$WINESERVER" -w
  rm -f "$WINEPREFIX/dosdevices/z:"
  as_bench_user ln -sfn "$SWEEP_SCRATCH_UNIX" "$WINEPREFIX/dosdevices/s:"
  as_bench_user ln -sfn "$build_dir" "$WINEPREFIX/dosdevices/b:"
  as_bench_user "$WINESERVER" -p </dev/null >/dev/null 2>&1
  # Start Wine's desktop and services now, away from the test runner's pipes.
  [ -f "$build_dir/tests/bench_warmup.exe" ] && "$WINE_RUN" 'B:\tests\bench_warmup.exe' </dev/null >/dev/null 2>&1
  trap bench_stop EXIT
}

bench_stop() {
  as_bench_user "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${BENCH_XVFB:-}" ] && kill "$BENCH_XVFB" 2>/dev/null || true
  # A test may have left a folder without write or list permission.
  [ -n "${BENCH_ROOT:-}" ] && chmod -R u+rwx "$BENCH_ROOT" 2>/dev/null; rm -rf "$BENCH_ROOT"
}
