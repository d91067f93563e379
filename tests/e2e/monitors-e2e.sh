#!/usr/bin/env bash
# The full-screen saver on several monitors: Xorg with the dummy driver and two RandR outputs
# (xorg-two-monitors.conf: a 1920x1200 primary at (0,0), a 1280x1024 monitor right of it), the
# root painted red so that an uncovered monitor shows. Cases: the monitor right of the
# primary, the monitor left of it (negative coordinates), and display changes while /s runs.
# Screenshots stay in build/e2e-shots. Every wait polls a condition under a generous timeout.
# monitors-e2e.sh SAVER.scr DISPLAYDRIVER.exe
set -u
saver=$1
driver=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"
xorg_available || { echo "monitors e2e: no Xorg here, skipped"; exit 77; }
shots=${E2E_SHOTS:-$root/build/e2e-shots}
mkdir -p "$shots"
stop_all() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wine_server_stop; xorg_stop; forget_settings; }
trap stop_all EXIT
xorg_start || { echo "monitors e2e: no Xorg display"; exit 1; }
xsetroot -solid red
# Over the bare root the server's own cursor shows: the cursor probe must see it.
[ "$(python3 "$here/cursor-shown.py")" = shown ] || { echo "monitors e2e: the cursor probe sees no root cursor"; exit 1; }
xrandr --newmode 2560x1440 241.50 2560 2608 2640 2720 1440 1443 1448 1481 +hsync -vsync
xrandr --addmode DUMMY0 2560x1440
xrandr --addmode DUMMY1 1280x1024 2>/dev/null

expect() { [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"; } # WHAT EXPECTED ACTUAL
drive() { "$WINELOADER" "$driver" "$@" 2>/dev/null | tr -d '\r' | paste -sd'|'; }
black() { # NAME X Y...
  local what=$1; shift
  while [ $# -gt 1 ]; do
    [ "$(pixel "$1" "$2")" = "srgb(0,0,0)" ] || fail "$what ($1,$2) is $(pixel "$1" "$2"), not black"
    shift 2
  done
}
white() { [ "$(pixel "$2" "$3")" = "srgb(255,255,255)" ] || fail "$1 ($2,$3) is $(pixel "$2" "$3"), not the white surface"; }
rosette() { [ "$(pixel "$2" "$3")" != "srgb(255,255,255)" ] || fail "$1: no rosette at ($2,$3)"; }
cursor() { python3 "$here/cursor-shown.py"; }
cursor_hidden() { [ "$(cursor)" = hidden ]; }
covers_are() { [ "$(drive covers)" = "$1" ]; }
expect_covers() { # RECTS ("left top right bottom|...", "" for none)
  wait_for "$appear_limit" covers_are "$1" || fail "covers '$(drive covers)', not '$1'"
}
# The layout for the case (xrandr arguments), a fresh Wine server to meet it, the pointer at
# the primary's centre (X coordinates), the saver started with pattern 1 on white.
start_case() { # NAME POINTER-X POINTER-Y XRANDR-ARGS...
  case=$1
  [ -z "${E2E_CASES:-}" ] || [[ " $E2E_CASES " == *" $1 "* ]] || return 1
  local px=$2 py=$3; shift 3
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  wine_server_stop
  xrandr "$@" || { fail "xrandr $*"; return 1; }
  xsetroot -solid red
  xdotool mousemove "$px" "$py"
  store_settings Background:1
  start_saver "$saver" /s
  shot=$(mktemp --suffix=.png)
  expect_window
}
# The screen once the surface has its corner at X0 Y0 and the rosette its centre at CX CY,
# kept as NAME in the shots' folder.
surface_at() { [ "$(pixel "$1" "$2")" = "srgb(255,255,255)" ] && [ "$(pixel "$3" "$4")" != "srgb(255,255,255)" ]; }
shoot_surface() { # NAME X0 Y0 CX CY
  shoot_until surface_at "$2" "$3" "$4" "$5" || fail "no surface at ($2,$3) with a rosette at ($4,$5)"
  cp "$shot" "$shots/$1"
}

# The second monitor right of the primary: covered black, a jump over it ends the saver.
start_case right 960 600 --output DUMMY0 --primary --mode 1920x1200 --pos 0x0 \
  --output DUMMY1 --mode 1280x1024 --pos 1920x0 && {
  expect "monitors" "0 0 1920 1200|1920 0 3200 1024" "$(drive monitors)"
  expect_covers "1920 0 3200 1024"
  shoot_surface monitors-right.png 0 0 960 600
  white "primary's surface corner" 0 0; white "primary's last pixel" 1919 1199
  rosette "primary" 960 600
  black "second monitor" 1920 0 2560 512 3199 1023 1920 1023
  wait_for "$appear_limit" cursor_hidden || fail "the cursor shows over the primary"
  walk 960 600 2600; expect_running "slow movement onto the second monitor"
  wait_for "$appear_limit" cursor_hidden || fail "the cursor shows over the second monitor"
  xdotool mousemove 2800 600; expect_end "a jump of 200 over the second monitor"
}

# The second monitor left of the primary: Wine places it at (-1280, 0); in X it is at (0, 0).
start_case left 2240 600 --output DUMMY1 --mode 1280x1024 --pos 0x0 \
  --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 && {
  expect "monitors" "0 0 1920 1200|-1280 0 0 1024" "$(drive monitors)"
  expect_covers "-1280 0 0 1024"
  shoot_surface monitors-left.png 1280 0 2240 600
  white "primary's surface corner" 1280 0; white "primary's last pixel" 3199 1199
  rosette "primary" 2240 600
  black "left monitor" 0 0 640 512 1279 1023 0 1023
  walk 2240 600 600; expect_running "slow movement onto the left monitor"
  wait_for "$appear_limit" cursor_hidden || fail "the cursor shows over the left monitor"
  xdotool key a; expect_end "a key over the left monitor"
}

# Display changes while /s runs: the second monitor gone and the primary at 2560x1440 (the
# surface re-centred with black margins), then back (the surface at (0,0), the monitor covered).
start_case change 960 600 --output DUMMY0 --primary --mode 1920x1200 --pos 0x0 \
  --output DUMMY1 --mode 1280x1024 --pos 1920x0 && {
  expect_covers "1920 0 3200 1024"
  xrandr --output DUMMY1 --off --output DUMMY0 --mode 2560x1440 --pos 0x0
  expect_covers ""
  shoot_surface change-2560.png 320 120 1280 720
  black "left and top margins" 319 125 325 119 0 0
  black "right and bottom margins" 2240 1320 2559 1439
  white "surface corner" 320 120; white "surface's last pixel" 2239 1319
  rosette "re-centred rosette" 1280 720
  running || fail "ended by the change"
  xrandr --output DUMMY0 --primary --mode 1920x1200 --pos 0x0 --output DUMMY1 --mode 1280x1024 --pos 1920x0
  expect_covers "1920 0 3200 1024"
  shoot_surface change-back.png 0 0 960 600
  white "surface corner" 0 0; white "surface's last pixel" 1919 1199
  rosette "rosette" 960 600
  black "second monitor" 1920 0 3199 1023
  running || fail "ended by the change back"
  xdotool key Escape; expect_end "Escape after the changes"
}

[ "$failures" = 0 ] && echo "monitors e2e: all cases passed"
exit $((failures > 0))
