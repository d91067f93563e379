#!/usr/bin/env bash
# The settings dialog end to end: each case on its own Xvfb screen, in the project's Wine
# prefix, with the settings key reset; the dialog is driven from another process and looked
# at in screenshots. Every wait polls a condition under a generous timeout.
# dialog-e2e.sh SAVER.scr DRIVER.exe BOXTEXT.exe
set -u
saver=$1
driver=$2
boxtext=$3
work=$(mktemp -d)
source "$(dirname "$0")/e2e-lib.sh"
trap 'rm -rf "$work"; forget_settings' EXIT

stored() { reg query "$key" /v "$1" | awk -v n="$1" '$1 == n { print $3 }'; }
drive() { "$WINELOADER" "$driver" "$@" 2>&1 | tr -d '\r'; }
# Pattern 1 on white, no random picks, wallpapers of 1024 x 768.
settings() { store_settings Bright:2; }

start_dialog() { # ARGS...
  "$WINELOADER" "$saver" "$@" >/dev/null 2>&1 &
  pid=$!
}
# Waits for the dialog and sets ox, oy to its client area's place on the screen.
expect_dialog() {
  local origin
  origin=$(timeout 90 "$WINELOADER" "$driver" wait origin 2>/dev/null | tr -d '\r')
  [ -n "$origin" ] || { fail "no settings dialog"; return 1; }
  read -r ox oy <<<"$origin"
}
expect() { # WHAT EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# The 512 x 382 preview of a screenshot, and the screenshot with the preview blacked out.
preview_of() { convert "$1" -crop "512x382+$ox+$oy" +repage "$2"; }
outside_of() { convert "$1" -fill black -draw "rectangle $ox,$oy $((ox + 511)),$((oy + 381))" "$2"; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# The preview with the rosette's disc (radius 191 about the centre) blacked out: what the
# points never reach.
margin_of() { convert "$1" -fill black -draw "circle 256,191 256,$((191 + 193))" "$2"; }
brightest() { convert "$1" -format '%[fx:maxima*255]' info:; }
# Shoots the screen until PREDICATE holds for the preview (written to FILE): a change shows
# with the next frame, which a slow machine brings late.
preview_holds() { shoot "$work/screen.png" && preview_of "$work/screen.png" "$1" && "${@:2}" "$1"; }
preview_until() { wait_for "$appear_limit" preview_holds "$@"; } # FILE PREDICATE [ARGS...]
white_corner() { [ "$(pixel "$1" 2 2)" = "255,255,255" ]; }
black_margin_rosette_drawn() {
  margin_of "$1" "$work/margin.png"
  [ "$(brightest "$work/margin.png")" = 0 ] && [ "$(pixel "$1" 256 120)" != "0,0,0" ]
}
differs_from() { [ "$(differing "$1" "$2")" -gt 1000 ]; } # REFERENCE FILE
pixel() { # IMAGE X Y: "red,green,blue"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# 1366 x 768, no settings: the first run stores Bright 7; the preview alone animates; Escape
# with a track bar focused ends the program.
begin_case first-1366 1366x768x24 && {
  reg delete "$key" /f >/dev/null
  start_dialog /c
  if expect_dialog; then
    expect "stored Bright" 0x7 "$(stored Bright)"
    expect "stored All_Monitors" 0x1 "$(stored All_Monitors)"
    expect "All monitors box" 1 "$(drive checked 7)"
    mapfile -t got < <(drive bar 2 thumb 2 label Size)
    expect "wallpaper bar" 7 "${got[0]}"
    expect "thumb on its position" 1 "${got[1]}"
    expect "size label" "1366x768-Your Desktop" "${got[2]}"
    preview_until "$work/pa.png" white_corner || fail "no preview drawn"
    cp "$work/screen.png" "$work/a.png"
    # The next frame, whenever it comes.
    preview_changed() { shoot "$work/b.png"; preview_of "$work/b.png" "$work/pb.png"; [ "$(differing "$work/pa.png" "$work/pb.png")" -gt 0 ]; }
    wait_for "$appear_limit" preview_changed || fail "the preview did not change"
    outside_of "$work/a.png" "$work/oa.png"; outside_of "$work/b.png" "$work/ob.png"
    expect "pixels changed outside the preview" 0 "$(differing "$work/oa.png" "$work/ob.png")"
    mkdir -p "$root/build/e2e-shots" && cp "$work/b.png" "$root/build/e2e-shots/dialog-first-run.png"
    drive focus 3 >/dev/null
    xdotool mousemove $((ox + 256)) $((oy + 450)) key Escape
    expect_end "Escape with a track bar focused"
  fi
}

# 1400 x 1050 matches no preset: Bright stays 0, the bar shows 1, Save stores 0; Close ends.
begin_case first-1400 1400x1050x24 && {
  reg delete "$key" /f >/dev/null
  start_dialog -C
  if expect_dialog; then
    expect "stored Bright" 0x0 "$(stored Bright)"
    expect "wallpaper bar" 1 "$(drive bar 2)"
    expect "size label" "1400x1050-Your Desktop" "$(drive label Size)"
    set_dword Bright 5
    drive click Button1 >/dev/null
    expect "Bright after Save" 0x0 "$(stored Bright)"
    drive click Button3 >/dev/null
    expect_end "Close"
  fi
}

# 2560 x 1440: the label names the screen although wallpapers are clamped; the close box ends.
begin_case first-2560 2560x1440x24 && {
  reg delete "$key" /f >/dev/null
  start_dialog /c:1234
  if expect_dialog; then
    expect "size label" "2560x1440-Your Desktop" "$(drive label Size)"
    expect "stored Bright" 0x0 "$(stored Bright)"
    drive closebox >/dev/null
    expect_end "the close box"
  fi
}

# A stored pattern beyond the bar's range becomes 40; Save writes the twelve values, not the
# folder, and whatever the controls changed.
begin_case rosacle-55 1024x768x24 && {
  settings
  set_dword Rosacle 55
  start_dialog /c
  if expect_dialog; then
    mapfile -t got < <(drive bar 3 label Rosacle)
    expect "pattern bar" 40 "${got[0]}"
    expect "pattern label" "Rosacle 40" "${got[1]}"
    reg delete "$key" /f >/dev/null
    expect "All monitors box" 0 "$(drive checked 7)"
    drive setbar 1 99 setbar 4 12 click CheckBox5 click CheckBox7 click Button1 >/dev/null
    values=$(reg query "$key" | awk '$2 ~ /^REG_/ { print $1 "=" $3 }' | sort | paste -sd' ')
    expect "saved values" "All_Monitors=0x1 Background=0x1 Bright=0x2 Gray=0x1 Oval=0x0 Petals_Random=0x0 \
Pictures=0x0 Rosacle=0x28 Rosacle_Random=0x0 Segment=0xc Size=0x34 Speed=0x63" "$values"
    drive click Button3 >/dev/null
    expect_end "Close"
  fi
}

# Unticking Background blackens the whole preview at once and the rosette goes on on black;
# the pattern and petal bars change the picture and their labels.
begin_case background 1024x768x24 && {
  settings
  start_dialog /c
  if expect_dialog; then
    preview_until "$work/pw.png" white_corner || fail "no white preview"
    drive click CheckBox4 >/dev/null
    preview_until "$work/pk.png" black_margin_rosette_drawn || fail "not black around the rosette without Background"
    mapfile -t got < <(drive setbar 3 21 label Rosacle setbar 4 5 label Petals checked 4 thumb 3 thumb 4)
    expect "labels, box and thumbs" "Rosacle 21|Petals 5|0|1|1" "$(IFS='|'; echo "${got[*]}")"
    preview_until "$work/pp.png" differs_from "$work/pk.png" || fail "the new pattern does not show"
    drive closebox >/dev/null
    expect_end "the close box"
  fi
}

# The keyboard alone, real X key presses: Tab and Shift+Tab walk the controls in the order of
# the layout, Right moves the pattern bar (its label follows), Space ticks a box, Enter on
# " Save settings" stores, Escape ends. The task bar and Alt+Tab list the application's title.
focused_is() { [ "$(drive focused)" = "$1" ]; }
press() { # KEY EXPECTED-FOCUS
  xdotool key "$1"
  wait_for "$appear_limit" focused_is "$2" || fail "after $1 the focus is on $(drive focused), not $2"
}
begin_case keyboard 1024x768x24 && {
  settings
  start_dialog /c
  if expect_dialog; then
    expect "task-bar windows" "Fractal Rosacle Screensaver" "$(drive taskbar)"
    # What an X task bar sees: the dialog stands for the window it is transient for.
    dialog_x=$(xdotool search --name '^Fractal Rosacle Settings$' | head -n 1)
    owner_x=$(xprop -id "$dialog_x" WM_TRANSIENT_FOR | awk '{ print $NF }')
    expect "X owner's name" '"Fractal Rosacle Screensaver"' "$(xprop -id "$owner_x" _NET_WM_NAME | sed 's/^[^=]*= //')"
    # Keys go to the window under the pointer (no window manager here).
    xdotool mousemove $((ox + 256)) $((oy + 200))
    wait_for "$appear_limit" focused_is TrackBar1 || fail "first focus on $(drive focused), not TrackBar1"
    for next in CheckBox1 TrackBar3 TrackBar2 CheckBox3 CheckBox7 TrackBar4 CheckBox2 CheckBox4 CheckBox5 \
                CheckBox6 Button1 Button2 Button3 TrackBar1; do press Tab "$next"; done
    for back in Button3 Button2 Button1 CheckBox6; do press shift+Tab "$back"; done
    xdotool key space
    pictures_ticked() { [ "$(drive checked 6)" = 1 ]; }
    wait_for "$appear_limit" pictures_ticked || fail "Space did not tick Pictures"
    for back in CheckBox5 CheckBox4 CheckBox2 TrackBar4 CheckBox7 CheckBox3 TrackBar2 TrackBar3; do
      press shift+Tab "$back"
    done
    xdotool key Right
    rosacle_label() { [ "$(drive label Rosacle)" = "Rosacle 2" ]; }
    wait_for "$appear_limit" rosacle_label || fail "Right on the pattern bar: label '$(drive label Rosacle)'"
    expect "pattern bar" 2 "$(drive bar 3)"
    for next in TrackBar2 CheckBox3 CheckBox7 TrackBar4 CheckBox2 CheckBox4 CheckBox5 CheckBox6 Button1; do
      press Tab "$next"
    done
    reg delete "$key" /f >/dev/null
    xdotool key Return
    saved() { [ "$(stored Rosacle)" = 0x2 ] && [ "$(stored Pictures)" = 0x1 ]; }
    wait_for "$appear_limit" saved || fail "Enter on Save settings stored Rosacle '$(stored Rosacle)' Pictures '$(stored Pictures)'"
    running || fail "Enter on Save settings ended the dialog"
    press Tab Button2
    xdotool key Escape
    expect_end "Escape with a button focused"
  fi
}

# Settings that cannot be read: the error box, then a dialog that never draws its preview and
# still closes.
begin_case load-error 1024x768x24 && {
  settings
  reg add "$key" /v Speed /t REG_SZ /d 54 /f >/dev/null
  start_dialog /c
  text=$(timeout 90 "$WINELOADER" "$boxtext" "Fractal Rosacle Screensaver" | tr -d '\r')
  expect "box text" "Invalid data type for 'Speed'" "$text"
  if expect_dialog; then
    sleep "$observe"
    shoot "$work/e.png"; preview_of "$work/e.png" "$work/pe.png"
    expect "preview centre" "192,192,192" "$(pixel "$work/pe.png" 256 191)"
    expect "frame count" "FPS" "$(drive label FPS)"
    expect "stored Speed" 54 "$(stored Speed)"
    drive click Button3 >/dev/null
    expect_end "Close after a failed start"
  fi
}

wine_server_stop
xvfb_stop
[ "$failures" = 0 ] && echo "dialog e2e: all cases passed"
exit $((failures > 0))
