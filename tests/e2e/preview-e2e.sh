#!/usr/bin/env bash
# The control-panel preview end to end: a host program of its own owns a 152 x 112 window,
# starts the saver with "/p <handle>" and reports what it finds.
# preview-e2e.sh SAVER.scr PREVIEW_HOST.exe PASSWORD.CPL
set -u
saver=$1
host=$(realpath "$2")
library=$3
source "$(dirname "$0")/e2e-lib.sh"
desktop='HKCU\Control Panel\Desktop'
system_copy="$(wine_system_folder "$saver")/PASSWORD.CPL"
beside=$(mktemp -d)

use_password() { # none|0|1
  if [ "$1" = none ]; then reg delete "$desktop" /v ScreenSaveUsePassword /f >/dev/null
  else reg add "$desktop" /v ScreenSaveUsePassword /t REG_DWORD /d "$1" /f >/dev/null; fi
}
run_host() { # SAVER ARGS...: the host's report
  timeout 60 "$WINELOADER" "$host" "$@" 2>/dev/null | tr -d '\r'
}
expect() { # REPORT LINE
  grep -qxF -- "$2" <<<"$1" || fail "no line '$2' in: $(tr '\n' '|' <<<"$1")"
}
cleanup() {
  rm -f "$system_copy"; rm -rf "$beside"
  use_password none
  wine_server_stop; xvfb_stop
}
trap cleanup EXIT

xvfb_start 640x480x24 || { echo "no display"; exit 1; }
wine_server_stop
rm -f "$system_copy"
use_password none

# The child window in the host, and the end when the host window goes.
case=child
report=$(run_host "$saver" inspect 1500)
expect "$report" "class MyVeltoScreenSaverClass"
expect "$report" "title MySaver"
expect "$report" "style 0x58000000 exstyle 0x00000000" # WS_CHILD | WS_VISIBLE | WS_DISABLED
expect "$report" "rect 0 0 152 112"
ended=$(sed -n 's/^ended after host destroyed \([0-9]*\) ms$/\1/p' <<<"$report")
[ -n "$ended" ] && [ "$ended" -le 1000 ] || fail "not ended within a second of the host: $report"

# Mouse messages and real pointer movement over the preview change nothing.
case=mouse
report_file=$(mktemp)
timeout 60 "$WINELOADER" "$host" "$saver" mouse >"$report_file" 2>/dev/null &
host_job=$!
wait_for "$appear_limit" grep -q "mouse posted" "$report_file"
for x in $(seq 5 12 150); do xdotool mousemove "$x" $((x * 3 / 4)); sleep 0.05; done
xdotool mousemove 300 300
wait "$host_job"
report=$(tr -d '\r' <"$report_file"); rm -f "$report_file"
expect "$report" "running after mouse"
grep -qE '^ended after host destroyed [0-9]+ ms$' <<<"$report" || fail "not ended with the host: $report"

# The picture in the host's window, drawn by the saver's own process, as the control panel
# shows it.
case=picture
shots=$(mktemp -d)
timeout 90 "$WINELOADER" "$host" "$saver" inspect 20000 >"$shots/report" 2>/dev/null & # unbuffered: no tr
host_job=$!
wait_for "$appear_limit" grep -q ready "$shots/report"
# White ground with a rosette: mostly white, but far from all of it, and moving.
white_share() { convert "$1" -fill black +opaque white -format "%[fx:mean]" info:; }
preview_drawn() {
  import -window root -crop 152x112+0+0 "$shots/a.png"
  white=$(white_share "$shots/a.png")
  awk -v w="$white" 'BEGIN { exit !(w > 0.3 && w < 0.98) }'
}
# The host keeps its window for 20 s: the first frame and a later one within that time.
moved() {
  import -window root -crop 152x112+0+0 "$shots/b.png"
  changed=$(compare -metric AE "$shots/a.png" "$shots/b.png" null: 2>&1)
  [ "${changed%% *}" -gt 50 ] 2>/dev/null
}
if wait_for 15 preview_drawn; then wait_for 4 moved || fail "a later shot differs in ${changed} pixels only"
else fail "white share $white"; fi
wait "$host_job"
grep -q "^ended after host destroyed" <(tr -d '\r' <"$shots/report") || fail "not ended with the host: $(tr '\r\n' '  ' <"$shots/report")"
cp "$shots/a.png" "${PREVIEW_SHOT:-/dev/null}" 2>/dev/null
rm -rf "$shots"

# No handle, a malformed one, or a dead one: the saver ends at once without a window.
for arguments in "/p" "/p abc" "/p 0x7ffffff0"; do
  case="args $arguments"
  report=$(run_host "$saver" args $arguments)
  grep -qE '^ended [0-9]+ ms$' <<<"$report" || fail "did not end: $report"
  expect "$report" "no window"
done

# A key-down: with no password switched on the preview ends.
for value in none 0; do
  case="key, password $value"
  use_password "$value"
  expect "$(run_host "$saver" key)" "ended by key"
done

# Password on: the system directory's library decides.
use_password 1
cp "$library" "$system_copy"
case="key, library refuses"
expect "$(ROSACLE_TEST_PASSWORD=refuse run_host "$saver" key)" "running after key"
case="key, library accepts"
expect "$(ROSACLE_TEST_PASSWORD=accept run_host "$saver" key)" "ended by key"

# The same library beside the saver only is never loaded: no library, so the key ends it.
rm -f "$system_copy"
cp "$saver" "$library" "$beside/"
case="key, library beside the saver"
report=$(cd "$beside" && ROSACLE_TEST_PASSWORD=refuse run_host "$(basename "$saver")" key) # also the current folder
expect "$report" "ended by key"

[ "$failures" -eq 0 ] && echo "preview e2e: all passed"
exit $((failures > 0))
