#!/usr/bin/env bash
# The full-screen saver's frame rate under Wine, measured from outside: for each pattern the
# saver runs /s on a private Xvfb screen and scripts/frame-rate.py counts the frames that
# reach the X server per second. The 30 ms timer allows at most 33 a second.
# saver-frame-rate.sh [SCREEN [PETALS [SECONDS [PATTERN...]]]]   (after scripts/run.sh or test.sh)
# defaults: 1920x1200, 4 petals, 10 seconds, patterns 1-40. It runs in the chroot's Wine 10,
# the 32-bit product where the kernel executes 32-bit code natively, else the 64-bit twin
# (emulated code is no measure of speed; ROSACLE_SAVER names another .scr).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${ROSACLE_IN_CHROOT:-}" != 1 ]; then
  source "$root/scripts/i386.sh"
  if [ -z "${ROSACLE_SAVER:-}" ] && { ! bash "$root/scripts/chroot.sh" runs-32-bit || i386_emulator_registered; }; then
    export ROSACLE_SAVER=$root/build/win64/FractalRosacle.scr
    (cd "$root" && cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 >/dev/null)
  fi
  exec bash "$root/scripts/chroot.sh" run bash "$0" "$@"
fi
screen=${1:-1920x1200}
petals=${2:-4}
seconds=${3:-10}
shift $(( $# < 3 ? $# : 3 ))
patterns=${*:-$(seq 1 40)}
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
saver=${ROSACLE_SAVER:-$(wine_product_build)/FractalRosacle.scr}
[ -f "$saver" ] || { echo "no $saver: run scripts/run.sh or scripts/test.sh first"; exit 1; }
echo "frame rate of $saver under $("$WINELOADER" --version)"
wine_prefix_ready || { echo "no Wine prefix"; exit 1; }
key='HKCU\Software\Fractal Rosacle'
reg() { "$WINELOADER" reg "$@" >/dev/null 2>&1; }

xvfb_start "${screen}x24" || exit 1
wine_server_stop
trap 'reg delete "$key" /f; wine_server_stop; xvfb_stop' EXIT
for k in $patterns; do
  reg delete "$key" /f
  for v in Speed:54 Bright:0 Rosacle:$k Size:52 Segment:$petals Background:1 Gray:0 Oval:0 Pictures:0 \
           Rosacle_Random:0 Petals_Random:0 All_Monitors:0; do
    reg add "$key" /v "${v%%:*}" /t REG_DWORD /d "${v##*:}" /f
  done
  reg add "$key" /v Path_Wall /t REG_SZ /d 'C:\Windows' /f
  "$WINELOADER" "$saver" /s >/dev/null 2>&1 &
  pid=$!
  window=
  for _ in $(seq 1 300); do window=$(xdotool search --name '^Form1$' 2>/dev/null | head -1) && [ -n "$window" ] && break; sleep 0.1; done
  if [ -z "$window" ]; then echo "pattern $k: no saver window"; kill "$pid" 2>/dev/null; continue; fi
  echo "pattern $k: $(python3 "$root/scripts/frame-rate.py" "$window" "$seconds" 3 | tail -1)"
  xdotool key Escape
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done
