#!/usr/bin/env bash
# Takes the README's screenshots: the real exe under the bench's Xvfb, with a few
# tasks in its cfg.ini, its main window and then its editor, into docs/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SWEEP_BUILD:-$root/build}
out=$root/docs/screenshots
"$root/scripts/setup.sh"
SWEEP_SKIP_WIN32=1 SWEEP_BUILD=$build "$root/scripts/build.sh" >/dev/null
. "$root/scripts/wine-bench.sh"
bench_start "$build/win64"

# The program asks for 微软雅黑 (Light) and Impact; let the bench's Chinese font stand in.
for face in "微软雅黑" "微软雅黑 Light" "Microsoft YaHei" "Microsoft YaHei Light"; do
  "$WINE_RUN" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1
done
# A virtual desktop the size of the screen, so Wine draws the windows' frames;
# it takes effect when the Wine processes start again.
"$WINE_RUN" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f </dev/null >/dev/null 2>&1
"$WINE_RUN" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f </dev/null >/dev/null 2>&1
as_bench_user "$WINESERVER" -k >/dev/null 2>&1 || true
sleep 1
as_bench_user "$WINESERVER" -p </dev/null >/dev/null 2>&1

shots=$SWEEP_SCRATCH_UNIX/shots
mkdir -p "$shots"
cp "$build/win64/Sweepwarden.exe" "$shots/"
# Long periods: nothing is due while the pictures are taken.
iconv -f UTF-8 -t GBK > "$shots/cfg.ini" <<'INI'
[Sweepwarden]
num=3
point=128
[1]
file=S:\shots\下载\临时文件
mode=3
del_mode=2
time=86400
remark=每天清空
[2]
file=S:\shots\日志\旧日志.log
mode=1
del_mode=1
time=3600
remark=旧日志
[3]
file=S:\shots\缓存
mode=2
del_mode=2
time=604800
remark=每周
INI
sed -i 's/$/\r/' "$shots/cfg.ini"
[ -n "${SWEEP_BENCH_USER:-}" ] && chown -R "$SWEEP_BENCH_USER" "$shots"

"$WINE_RUN" 'S:\shots\Sweepwarden.exe' </dev/null >/dev/null 2>&1 &
program=$!
driver() { "$WINE_RUN" 'B:\tests\ui_shot_driver.exe' "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# Crops the screen to the frame of the program's window (main or editor).
shoot() {
  local which=$1 file=$2 geometry
  sleep 1.5
  geometry=$(driver rect "$which")
  [ -n "$geometry" ] || { echo "screenshots: no $which window" >&2; return 1; }
  import -window root -crop "$geometry" +repage "$file"
  echo "screenshots: $file ($geometry)"
}

mkdir -p "$out"
shoot main "$out/main_window.png"
driver editor
shoot editor "$out/task_editor.png"
kill "$program" 2>/dev/null || true
