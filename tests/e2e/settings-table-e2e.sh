#!/usr/bin/env bash
# Every settings value as each wrong kind of registry value, with /s and /c: a driver program
# under Wine runs the table on one private Xvfb screen in the project's Wine prefix.
# settings-table-e2e.sh SAVER.scr SETTINGS_TABLE.exe [/s|/c|all] [VALUE]
set -u
saver=$1
driver=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
wine_prefix_ready || { echo "no Wine prefix"; exit 1; }
# The last case's wrong value would greet the saver's main job in this prefix: the key goes.
trap '"$WINELOADER" reg delete "HKCU\\Software\\Fractal Rosacle" /f >/dev/null 2>&1; wine_server_stop; xvfb_stop' EXIT
xvfb_start 1024x768x24 || { echo "no display"; exit 1; }
wine_server_stop
timeout 1500 "$WINELOADER" "$driver" "$(winepath -w "$saver" 2>/dev/null || echo "$saver")" "${3:-all}" ${4:+"$4"} 2>/dev/null | tr -d '\r'
exit "${PIPESTATUS[0]}"
