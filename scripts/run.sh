#!/usr/bin/env bash
# The saver's main job: installs what is missing, builds, and runs the full-screen saver
# (FractalRosacle.scr /s) under Wine 10 in the chroot of scripts/chroot.sh. With a display the
# saver runs on it until a key or a mouse jump ends it; without one it runs on a private Xvfb,
# a screenshot is taken after a few seconds and the saver is ended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${1:-}" = --in-chroot ]; then
  source scripts/wine-env.sh
  saver="${ROSACLE_PRODUCT:-$(wine_product_build)}/FractalRosacle.scr"
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_prefix_ready
    echo "running $saver /s on $DISPLAY: press a key to end it"
    "$WINELOADER" "$saver" /s
    wine_server_stop
  else
    source scripts/xvfb.sh
    xvfb_start 1024x768x24
    wine_prefix_ready
    "$WINELOADER" "$saver" /s >/dev/null 2>&1 &
    saver_pid=$!
    # The shot once a few frames are on the screen (more than the surface's colour shows).
    shot="$root/build/saver-screenshot.png"
    for _ in $(seq 1 900); do
      import -window root "$shot" 2>/dev/null && [ "$(convert "$shot" -format %k info:)" -gt 2 ] && break
      sleep 0.2
    done
    sleep 2
    import -window root "$shot"
    echo "screenshot of the running saver: $shot"
    xdotool key Escape
    for _ in $(seq 1 300); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$saver_pid" 2>/dev/null || true
    wine_server_stop
    xvfb_stop
  fi
  exit 0
fi

bash scripts/deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2 >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 >/dev/null
bash scripts/chroot.sh ensure
# The 32-bit product, natively or emulated by the chroot's qemu-i386; the 64-bit twin only
# where neither can be had.
source scripts/i386.sh
trap i386_release EXIT
if i386_ready; then
  export ROSACLE_PRODUCT=$root/build/win32
  echo "the 32-bit product's code runs $I386_WAY"
else
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j2 >/dev/null
  export ROSACLE_PRODUCT=$root/build/win64
  echo "the 32-bit product cannot run here ($I386_WHY_NOT): running the 64-bit twin"
fi
share=()
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then share=(--host-display); fi
bash scripts/chroot.sh run "${share[@]}" bash scripts/run.sh --in-chroot
