#!/usr/bin/env bash
# The full-screen saver end to end: each case on its own Xvfb screen, in the project's Wine
# prefix, with the settings key reset; every wait polls a condition under a generous timeout.
# saver-e2e.sh SAVER.scr BOXTEXT.exe
set -u
saver=$1
boxtext=$2
source "$(dirname "$0")/e2e-lib.sh"

# Pattern 1 on a known background; the rest of the values are the first run's.
settings() { store_settings "Background:$1"; } # BACKGROUND(0|1)

start_case() { # NAME SCREEN
  begin_case "$@" || return 1
  # At the centre, where a freshly started Wine also believes the cursor is.
  local size=${2%x*}
  xdotool mousemove $(( ${size%x*} / 2 )) $(( ${size#*x} / 2 ))
  shot=$(mktemp --suffix=.png)
}
# The window and its first frame: by then the window has handled its first mouse message.
expect_saver() { expect_window && expect_drawn; }
stop_saver() { running && { xdotool key Escape; expect_end "Escape"; }; }
shift_ends() { xdotool key shift; sleep 1; ended; }
box_gone() { ! xdotool search --onlyvisible --name '^Fractal Rosacle Screensaver$' >/dev/null 2>&1; }

# 1024 x 768, first run: the defaults are written; the rosette starts at (0, 0); input rules.
start_case first-run-and-input 1024x768x24 && {
  reg delete "$key" /f >/dev/null
  start_saver "$saver" /s
  if expect_saver; then
    values=$(reg query "$key")
    echo "$values" | grep -qE 'Bright +REG_DWORD +0x0' || fail "Bright is not 0: $values"
    echo "$values" | grep -qE 'Path_Wall +REG_SZ +C:\\Windows$' || fail "Path_Wall is not C:\\Windows"
    running || fail "the shown window's mouse message ended it"
    xdotool mousemove 612 384; expect_running "a jump of exactly 100"
    xdotool mousemove 612 484; expect_running "a jump of exactly 100 in y"
    walk 622 484 902 10; expect_running "slow movement"
    xdotool click 1; expect_running "a click"
    xdotool mousemove 902 585; expect_end "a jump of 101"
  fi
}

# A mouse that keeps jumping ends the saver too (a jump's close waits for no display change).
start_case keeps-jumping 1024x768x24 && {
  settings 0
  start_saver "$saver" /s
  if expect_saver; then
    jumps=0
    while running && [ "$jumps" -lt 600 ]; do
      xdotool mousemove $(( 312 + 400 * (jumps % 2) )) 384; jumps=$((jumps + 1)); sleep 0.05
    done
    expect_end "jumps of 400 every 50 ms"
  fi
}

start_case full-surface-1024 1024x768x24 && {
  settings 1; set_dword Rosacle_Random 0
  start_saver "$saver" /S
  if expect_saver; then
    [ "$(pixel 512 384)" != "srgb(255,255,255)" ] || fail "no rosette at the centre"
    [ "$(pixel 0 0)" = "srgb(255,255,255)" ] || fail "corner (0,0) is not the white surface: $(pixel 0 0)"
    [ "$(pixel 512 2)" != "srgb(0,0,0)" ] || fail "top edge is black"
    xdotool key shift; expect_end "Shift alone"
  fi
}

start_case centred-2560 2560x1440x24 && {
  settings 1
  start_saver "$saver" /s
  if expect_saver; then
    [ "$(pixel 319 125)" = "srgb(0,0,0)" ] || fail "left margin not black: $(pixel 319 125)"
    [ "$(pixel 325 119)" = "srgb(0,0,0)" ] || fail "top margin not black"
    [ "$(pixel 2240 1320)" = "srgb(0,0,0)" ] || fail "bottom-right margin not black"
    [ "$(pixel 320 120)" = "srgb(255,255,255)" ] || fail "surface corner not at (320,120)"
    [ "$(pixel 2239 1319)" = "srgb(255,255,255)" ] || fail "surface's last pixel not at (2239,1319)"
    [ "$(pixel 1280 720)" != "srgb(255,255,255)" ] || fail "no rosette at the centre"
    cp "$shot" /tmp/rosacle-e2e-2560.png
    xdotool key a; expect_end "a key"
  fi
}

start_case odd-1921 1921x1201x24 && {
  settings 1
  start_saver "$saver" c
  if expect_saver; then
    [ "$(pixel 0 0)" = "srgb(255,255,255)" ] || fail "surface not at (0,0)"
    [ "$(pixel 1920 5)" = "srgb(0,0,0)" ] || fail "the odd column is not black"
    [ "$(pixel 5 1200)" = "srgb(0,0,0)" ] || fail "the odd row is not black"
    xdotool key ctrl; expect_end "Ctrl alone"
  fi
}

start_case wrong-type 1024x768x24 && {
  settings 0
  reg add "$key" /v Speed /t REG_SZ /d 54 /f >/dev/null
  start_saver "$saver" /s
  text=$(timeout 90 "$WINELOADER" "$boxtext" "Fractal Rosacle Screensaver" | tr -d '\r')
  [ "$text" = "Invalid data type for 'Speed'" ] || fail "box text: '$text'"
  # OK was pressed from another process: the key must reach the saver, not a box still closing
  # (the emulated product closes it seconds later), and the saver takes the keyboard back only
  # once it has handled the box's end; so Shift, and nothing else, is pressed until it ends.
  wait_for "$end_limit" box_gone || fail "the error box stays open after OK"
  if expect_window; then
    running || fail "ended with the box"
    wait_for "$end_limit" shift_ends || fail "still running after Shift after a failed start"
  fi
}

start_case switch-a 1024x768x24 && {
  settings 0
  start_saver "$saver" /a
  expect_end "/a"
  saver_window && fail "/a showed a window"
}

wine_server_stop
xvfb_stop
[ "$failures" = 0 ] && echo "saver e2e: all cases passed"
exit $((failures > 0))
