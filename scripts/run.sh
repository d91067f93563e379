#!/usr/bin/env bash
# The saver's main job: installs what is missing, builds, and runs the full-screen saver.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2 >/dev/null

# --- the full-screen saver under Wine ---------------------------------------------------
# Builds the product (win32) and its 64-bit twin, and runs the twin where this machine
# cannot execute 32-bit code. With a display the saver runs on it until a key or a mouse
# jump ends it; without one it runs on a private Xvfb, a screenshot is taken after a few
# seconds and the saver is ended.
for preset in win32 win64; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset -j 2 >/dev/null
done
bits=32
(source scripts/wine-env.sh 32; wine_usable) || bits=64
saver="$root/build/win$bits/FractalRosacle.scr"
source scripts/wine-env.sh $bits
wine_prefix_ready
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "running $saver /s on $DISPLAY: press a key to end it"
  "$WINELOADER" "$saver" /s
else
  source scripts/xvfb.sh
  xvfb_start 1024x768x24
  "$WINELOADER" "$saver" /s >/dev/null 2>&1 &
  saver_pid=$!
  for _ in $(seq 1 600); do xdotool search --name '^Form1$' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 3
  shot="$root/build/saver-screenshot.png"
  import -window root "$shot"
  echo "screenshot of the running saver: $shot"
  xdotool key Escape
  for _ in $(seq 1 300); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$saver_pid" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
  xvfb_stop
fi
# --- end of the full-screen saver part --------------------------------------------------
