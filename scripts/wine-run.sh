#!/usr/bin/env bash
# Runs a Windows exe under Wine, as the unprivileged bench user when started as root:
# read-only files and closed folders then mean what they mean on Windows, and a
# faulty removal can reach nothing that user may not write.
if [ "$(id -u)" -eq 0 ] && [ -n "${SWEEP_BENCH_USER:-}" ]; then
  exec runuser -u "$SWEEP_BENCH_USER" -- /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine64 "$@"
