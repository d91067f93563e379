#!/usr/bin/env bash
# The full-screen saver's memory under Wine: /s runs for SECONDS (default 60) while the
# resident size of its process is read once a second (tests/e2e/resident.py: under emulation
# the program's own share, not the emulator's). After the start-up (the window, the first
# frame, then settle seconds) it must not grow beyond a small tolerance.
# memory-e2e.sh SAVER.scr [SECONDS]
set -u
saver=$1
seconds=${2:-60}
settle=15
tolerance_kib=${ROSACLE_RSS_TOLERANCE_KIB:-4096}
source "$(dirname "$0")/e2e-lib.sh"
trap 'running && kill "$pid"; wine_server_stop; xvfb_stop; forget_settings' EXIT

begin_case memory 1024x768x24 || exit 1
shot=$(mktemp --suffix=.png)
forget_settings # a first run's settings: a random pattern, 8 petals, white
start_saver "$saver" /s
expect_window && expect_drawn || exit 1
saver_pid=$(saver_process "$saver") || { fail "the process of the saver window does not map $saver"; exit 1; }
rss() { python3 "$root/tests/e2e/resident.py" "$saver_pid" "$saver"; }
first=$(rss) || { fail "no resident size of process $saver_pid"; exit 1; }
echo "memory: $(tr '\0' ' ' <"/proc/$saver_pid/cmdline" | tr -s ' ') (pid $saver_pid), $seconds s"
[ "${first#* }" = "$first" ] || echo "memory: emulated; the emulator's own memory is left out"

baseline=0 peak=0 samples=0
for s in $(seq 1 "$seconds"); do
  sleep 1
  running || { fail "the saver ended after $s s"; exit 1; }
  read -r now _ _ < <(rss) || continue
  if [ "$s" -le "$settle" ]; then
    baseline=$now # the last start-up sample
  else
    [ "$now" -gt "$peak" ] && peak=$now
    samples=$((samples + 1))
  fi
  [ $((s % 10)) = 0 ] && echo "  $s s: $now KiB"
done
xdotool key Escape
expect_end Escape
echo "memory: after ${settle} s $baseline KiB, highest later $peak KiB over $samples samples (tolerance $tolerance_kib KiB)"
[ "$samples" -gt 0 ] || fail "no samples after start-up"
[ "$peak" -le $((baseline + tolerance_kib)) ] || fail "resident size grew by $((peak - baseline)) KiB"
[ "$failures" = 0 ] && echo "memory: no growth"
exit $((failures > 0))
