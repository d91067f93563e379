#!/usr/bin/env bash
# The full-screen saver on several monitors: Xorg with the dummy driver and three RandR
# outputs (xorg-monitors.conf: a 1920x1200 primary at (0,0), a 1280x1024 monitor right of it, a
# third for xrandr to turn on), the root painted red so that an uncovered monitor shows.
# With All_Monitors 0, black covers: the monitor right of the primary, the monitor left of it
# (negative coordinates), and display changes while /s runs. With All_Monitors on, a rosette
# on each monitor: a first run on three monitors (one left, one 2560x1440), one left of the
# primary, two of one size, a dark display and display changes; the exits over each.
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
# The configuration gives DUMMY2 the mode already; the others get it here.
xrandr --newmode 2560x1440 241.50 2560 2608 2640 2720 1440 1443 1448 1481 +hsync -vsync 2>/dev/null
xrandr --addmode DUMMY0 2560x1440
xrandr --addmode DUMMY1 1280x1024 2>/dev/null
xrandr --addmode DUMMY1 1920x1200 2>/dev/null
for m in 2560x1440 1920x1200 1280x1024; do xrandr --addmode DUMMY2 "$m" 2>/dev/null; done

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
# The monitors, the primary first, the others sorted.
monitors_sorted() { drive monitors | tr '|' '\n' | { read -r first; echo "$first"; sort; } | paste -sd'|'; }
# The windows that show a rosette on the other monitors, in sorted order.
rosette_windows() { drive rosettes | tr '|' '\n' | sort | paste -sd'|'; }
rosette_windows_are() { [ "$(rosette_windows)" = "$1" ]; }
expect_rosette_windows() { # RECTS sorted ("left top right bottom|...", "" for none)
  wait_for "$appear_limit" rosette_windows_are "$1" || fail "rosette windows '$(rosette_windows)', not '$1'"
}
# The layout for the case (xrandr arguments), a fresh Wine server to meet it, the pointer at
# a place on the primary (X coordinates), the saver started with pattern 1 on white; with
# SETTINGS "rosettes" All_Monitors 1, with "first" no settings key at all (a first run).
start_case() { # NAME [SETTINGS] POINTER-X POINTER-Y XRANDR-ARGS...
  case=$1
  [ -z "${E2E_CASES:-}" ] || [[ " $E2E_CASES " == *" $1 "* ]] || return 1
  local settings=covers
  case $2 in covers|rosettes|first) settings=$2; shift ;; esac
  local px=$2 py=$3; shift 3
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  wine_server_stop
  xrandr "$@" || { fail "xrandr $*"; return 1; }
  xsetroot -solid red
  xdotool mousemove "$px" "$py"
  case $settings in
    covers) store_settings Background:1 ;;
    rosettes) store_settings Background:1 All_Monitors:1 ;;
    first) forget_settings ;;
  esac
  start_saver "$saver" /s
  shot=$(mktemp --suffix=.png)
  expect_window
}
# A rosette drawn in the part W x H at X Y of the shot: more colours than a surface and its
# margins have.
region_drawn() { [ "$(convert "$shot" -crop "$3x$4+$1+$2" +repage -format %k info:)" -gt 2 ]; } # X Y W H
all_drawn() { # X Y W H ...: every region drawn
  while [ $# -ge 4 ]; do region_drawn "$1" "$2" "$3" "$4" || return 1; shift 4; done
}
shoot_drawn() { # NAME X Y W H ...: waits for a shot with every region drawn, keeps it as NAME
  local name=$1; shift
  shoot_until all_drawn "$@" || fail "not every monitor shows a rosette ($*)"
  cp "$shot" "$shots/$name"
}
# Two parts of the shot of the same size are the same picture: the number of differing pixels.
parts=$(mktemp -d)
differing_parts() { # W H X1 Y1 X2 Y2
  convert "$shot" -crop "$1x$2+$3+$4" +repage "$parts/a.png"
  convert "$shot" -crop "$1x$2+$5+$6" +repage "$parts/b.png"
  compare -metric AE "$parts/a.png" "$parts/b.png" null: 2>&1 | cut -d' ' -f1
}
same_parts() { [ "$(differing_parts "$@")" = 0 ]; }
still_for_observe() { # the whole screen unchanged over the observation time
  local a b
  a=$(mktemp --suffix=.png); b=$(mktemp --suffix=.png)
  shoot "$a"; sleep "$observe"; shoot "$b"
  [ "$(compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1)" = 0 ]
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
  --output DUMMY1 --mode 1280x1024 --pos 1920x0 --output DUMMY2 --off && {
  expect "monitors" "0 0 1920 1200|1920 0 3200 1024" "$(drive monitors)"
  expect_covers "1920 0 3200 1024"
  expect "rosette windows with All_Monitors 0" "" "$(rosette_windows)"
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
  --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 --output DUMMY2 --off && {
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
  --output DUMMY1 --mode 1280x1024 --pos 1920x0 --output DUMMY2 --off && {
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

# A first run (no settings key) on three monitors: 1280x1024 left of the primary, the
# 1920x1200 primary, 2560x1440 right of it. All_Monitors is stored 1 and each monitor shows a
# rosette of its size: the left one filling it, the right one 1920x1200 centred with black
# margins. A slow walk onto the right monitor leaves the saver running, a jump there ends it.
start_case first-three first 3000 600 --output DUMMY1 --mode 1280x1024 --pos 0x0 \
  --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 --output DUMMY2 --mode 2560x1440 --pos 3200x0 && {
  expect "monitors" "0 0 1920 1200|-1280 0 0 1024|1920 0 4480 1440" "$(monitors_sorted)"
  expect "stored All_Monitors" 0x1 "$(reg query "$key" /v All_Monitors | awk '$1 == "All_Monitors" { print $3 }')"
  expect_rosette_windows "-1280 0 0 1024|1920 0 4480 1440"
  expect_covers ""
  shoot_drawn three-first-run.png 0 0 1280 1024 1280 0 1920 1200 3520 120 1920 1200
  black "right monitor's margins" 3200 0 3519 700 5440 700 5759 1439 4480 119 4480 1320
  wait_for "$appear_limit" cursor_hidden || fail "the cursor shows over the primary"
  walk 3000 600 3400; expect_running "slow movement onto the right monitor"
  wait_for "$appear_limit" cursor_hidden || fail "the cursor shows over the right monitor"
  expect "activation" Form1 "$(drive foreground)"
  xdotool mousemove 3600 600; expect_end "a jump of 200 over the right monitor"
}

# With All_Monitors 1, a 1280x1024 monitor left of the primary shows a 1280x1024 rosette that
# fills it, the same pattern on white as the primary; a click there takes no activation; a
# dark display stops every monitor's frames; a key over it ends the saver.
start_case rosettes-left rosettes 1480 600 --output DUMMY1 --mode 1280x1024 --pos 0x0 \
  --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 --output DUMMY2 --off && {
  expect_rosette_windows "-1280 0 0 1024"
  expect_covers ""
  shoot_drawn rosettes-left.png 0 0 1280 1024 1280 0 1920 1200
  white "left surface's corner" 0 0; white "left surface's last pixel" 1279 1023
  rosette "left monitor" 640 512
  white "primary's surface corner" 1280 0; white "primary's last pixel" 3199 1199
  rosette "primary" 2240 600
  walk 1480 600 1000; expect_running "slow movement onto the left monitor"
  wait_for "$appear_limit" cursor_hidden || fail "the cursor shows over the left monitor"
  xdotool click 1
  expect_running "a click over the left monitor"
  expect "activation after the click" Form1 "$(drive foreground)"
  expect "display off" 1 "$(drive power off)"
  still_for_observe || fail "frames drawn while the display is off"
  expect "display on" 1 "$(drive power on)"
  changed() { ! still_for_observe; }
  wait_for "$appear_limit" changed || fail "no frames once the display is on again"
  xdotool key a; expect_end "a key over the left monitor"
}

# Two monitors of one size share the primary's rosette: the same pixels on both. A key over
# the second one ends the saver, after a slow walk there did not.
start_case rosettes-same rosettes 1700 600 --output DUMMY0 --primary --mode 1920x1200 --pos 0x0 \
  --output DUMMY1 --mode 1920x1200 --pos 1920x0 --output DUMMY2 --off && {
  expect_rosette_windows "1920 0 3840 1200"
  shoot_drawn rosettes-same.png 0 0 1920 1200 1920 0 1920 1200
  shoot_until same_parts 1920 1200 0 0 1920 0 || fail "the two monitors differ in $(differing_parts 1920 1200 0 0 1920 0) pixels"
  cp "$shot" "$shots/rosettes-same.png"
  walk 1700 600 2100; expect_running "slow movement onto the second monitor"
  xdotool key a; expect_end "a key over the second monitor"
}

# A jump over a monitor left of the primary ends the saver too.
start_case rosettes-left-jump rosettes 1480 600 --output DUMMY1 --mode 1280x1024 --pos 0x0 \
  --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 --output DUMMY2 --off && {
  expect_rosette_windows "-1280 0 0 1024"
  walk 1480 600 1000; expect_running "slow movement onto the left monitor"
  xdotool mousemove 800 600; expect_end "a jump of 200 over the left monitor"
}

# Display changes with All_Monitors 1: from three monitors (1280x1024 left of the primary,
# 1920x1200 right of it, sharing the primary's rosette) to a 2560x1440 primary with 1280x1024
# monitors on both sides (the primary laid again, its surface centred with margins; the right
# monitor now sharing the left one's rosette, which is kept), then back to three. The primary
# keeps its place in X: Wine does not move a window whose place in its own coordinates stays.
start_case rosettes-change rosettes 2240 600 --output DUMMY1 --mode 1280x1024 --pos 0x0 \
  --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 --output DUMMY2 --mode 1920x1200 --pos 3200x0 && {
  expect_rosette_windows "-1280 0 0 1024|1920 0 3840 1200"
  shoot_drawn rosettes-change-three.png 0 0 1280 1024 1280 0 1920 1200 3200 0 1920 1200
  xrandr --output DUMMY0 --primary --mode 2560x1440 --pos 1280x0 --output DUMMY2 --mode 1280x1024 --pos 3840x0
  expect_rosette_windows "-1280 0 0 1024|2560 0 3840 1024"
  expect_covers ""
  shoot_surface rosettes-change-2560.png 1600 120 2560 720
  shoot_drawn rosettes-change-2560.png 0 0 1280 1024 1600 120 1920 1200 3840 0 1280 1024
  black "primary's margins" 1280 0 1599 125 3520 1320 3839 1439
  white "primary's surface corner" 1600 120; white "primary's last pixel" 3519 1319
  white "right surface's corner" 3840 0; white "right surface's last pixel" 5119 1023
  rosette "right monitor" 4480 512
  shoot_until same_parts 1280 1024 0 0 3840 0 || fail "the two 1280x1024 monitors differ in $(differing_parts 1280 1024 0 0 3840 0) pixels"
  running || fail "ended by the change"
  xrandr --output DUMMY0 --primary --mode 1920x1200 --pos 1280x0 --output DUMMY2 --mode 1920x1200 --pos 3200x0
  expect_rosette_windows "-1280 0 0 1024|1920 0 3840 1200"
  shoot_drawn rosettes-change-back.png 0 0 1280 1024 1280 0 1920 1200 3200 0 1920 1200
  white "left surface's corner" 0 0; white "right surface's last pixel" 5119 1199
  shoot_until same_parts 1920 1200 1280 0 3200 0 || fail "the primary and the right monitor differ in $(differing_parts 1920 1200 1280 0 3200 0) pixels"
  running || fail "ended by the change back"
  xdotool key Escape; expect_end "Escape after the changes"
}

[ "$failures" = 0 ] && echo "monitors e2e: all cases passed"
exit $((failures > 0))
