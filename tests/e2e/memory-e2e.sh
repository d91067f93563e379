#!/usr/bin/env bash
# The full-screen saver's memory under Wine: /s runs for SECONDS (default 60) while the
# resident size of its process is read from /proc once a second. After the first seconds of
# start-up it must not grow beyond a small tolerance.
# memory-e2e.sh SAVER.scr [SECONDS]
set -u
saver=$1
seconds=${2:-60}
settle=15                 # start-up: surface, layout, the first frames
tolerance_kib=${ROSACLE_RSS_TOLERANCE_KIB:-4096}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
wine_prefix_ready || { echo "no Wine prefix"; exit 1; }
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wine_server_stop; xvfb_stop; }
trap cleanup EXIT
xvfb_start 1024x768x24 || { echo "no display"; exit 1; }
wine_server_stop

reg() { "$WINELOADER" reg "$@" >/dev/null 2>&1; }
key='HKCU\Software\Fractal Rosacle'
reg delete "$key" /f
# A first run's settings (a random pattern, 8 petals, white).
"$WINELOADER" "$saver" /s >/dev/null 2>&1 &
pid=$!
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null; }
for _ in $(seq 1 600); do
  xdotool search --name '^Form1$' >/dev/null 2>&1 && break
  kill -0 "$pid" 2>/dev/null || { echo "FAIL: the saver ended before its window came"; exit 1; }
  sleep 0.1
done
xdotool search --name '^Form1$' >/dev/null 2>&1 || { echo "FAIL: no saver window"; exit 1; }
# The sampled process is the one that maps the saver (Wine's loader becomes it).
grep -q 'FractalRosacle.scr' "/proc/$pid/maps" || { echo "FAIL: process $pid is not the saver"; exit 1; }
echo "memory: $(tr '\0' ' ' < "/proc/$pid/cmdline" | tr -s ' ') (pid $pid), $seconds s"

baseline=0 peak=0 samples=0
for s in $(seq 1 "$seconds"); do
  sleep 1
  kill -0 "$pid" 2>/dev/null || { echo "FAIL: the saver ended after $s s"; exit 1; }
  now=$(rss)
  [ -n "$now" ] || continue
  if [ "$s" -le "$settle" ]; then
    baseline=$now # the last start-up sample
  else
    [ "$now" -gt "$peak" ] && peak=$now
    samples=$((samples + 1))
  fi
  [ $((s % 10)) = 0 ] && echo "  $s s: $now KiB"
done
xdotool key Escape
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && { echo "FAIL: still running after Escape"; exit 1; }
pid=
echo "memory: after ${settle} s $baseline KiB, highest later $peak KiB over $samples samples (tolerance $tolerance_kib KiB)"
[ "$samples" -gt 0 ] || { echo "FAIL: no samples after start-up"; exit 1; }
if [ "$peak" -gt $((baseline + tolerance_kib)) ]; then
  echo "FAIL: resident size grew by $((peak - baseline)) KiB"
  exit 1
fi
echo "memory: no growth"
