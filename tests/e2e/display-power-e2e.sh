#!/usr/bin/env bash
# The full-screen saver with the display turned off and on: the window gets the console
# display-state notification the system sends, and the frames that reach the X server are
# counted from outside (its damage reports on the saver's window, scripts/frame-rate.py).
# display-power-e2e.sh SAVER.scr DISPLAYDRIVER.exe
set -u
saver=$1
driver=$2
source "$(dirname "$0")/e2e-lib.sh"

expect() { [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"; } # WHAT EXPECTED ACTUAL
drive() { "$WINELOADER" "$driver" "$@" 2>/dev/null | tr -d '\r'; }
# The frames shown in SECONDS whole seconds, after half a second for what was under way.
frames_in() { python3 "$root/scripts/frame-rate.py" "$window" "$1" 0.5 | awk '/^frames/ { n += $2 } END { print n + 0 }'; }
frames_flow() { [ "$(frames_in 1)" -gt 0 ]; }

# Nothing in the program asks the system to keep the display or the machine awake.
case=keeps-awake
for call in SetThreadExecutionState PowerSetRequest PowerCreateRequest; do
  ! grep -qa "$call" "$saver" || fail "the saver imports $call"
done

begin_case off-and-on 1024x768x24 && {
  store_settings Background:1
  xdotool mousemove 512 384
  start_saver "$saver" /s
  if expect_window; then
    wait_for "$appear_limit" frames_flow || fail "no frames before the display went off"
    expect "answer to the display going off" 1 "$(drive power off)"
    expect "frames while the display is off" 0 "$(frames_in 3)"
    running || fail "ended with the display off"
    expect "answer to the display coming on" 1 "$(drive power on)"
    wait_for "$appear_limit" frames_flow || fail "no frames after the display came on"
    # Dimmed is still shown.
    drive power dimmed >/dev/null
    wait_for "$appear_limit" frames_flow || fail "no frames with the display dimmed"
    xdotool key Escape
    expect_end Escape
  fi
}

wine_server_stop
xvfb_stop
[ "$failures" = 0 ] && echo "display power e2e: all cases passed"
exit $((failures > 0))
