#!/usr/bin/env bash
# Display scaling end to end: Wine's LogPixels at 96, 120, 144 and 192 (100 % to 200 %),
# under which a program without DPI awareness is shown a smaller, stretched screen. At each
# scaling: the saver's process reads back as per-monitor aware (v2); /s on 2560x1440 has its
# 1920x1200 surface at physical (320,120)-(2239,1319) in black margins; the dialog is laid out
# at the scaled places and sizes with its preview at the scaled size and labels the desktop
# 2560x1440; /p fills a 152x112 host of a DPI-aware host process. At 144: a first run on
# 1920x1200 picks its wallpaper size from the physical size, and the other monitors are
# covered (Xorg's dummy driver, inside the chroot only). At 96: /c:HWND is modal to that window.
# Screenshots stay in build/e2e-shots.
# dpi-e2e.sh SAVER.scr SETTINGS_DRIVER.exe DISPLAY_DRIVER.exe PREVIEW_HOST.exe
set -u
saver=$1
settings_driver=$2
display_driver=$3
host=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"
shots=${E2E_SHOTS:-$root/build/e2e-shots}
mkdir -p "$shots"
desktop='HKCU\Control Panel\Desktop'
work=$(mktemp -d)
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  reg delete "$desktop" /v LogPixels /f >/dev/null
  forget_settings
  wine_server_stop; xvfb_stop; xorg_stop
  rm -rf "$work"
}
trap cleanup EXIT

expect() { [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"; } # WHAT EXPECTED ACTUAL
run() { timeout "$appear_limit" "$WINELOADER" "$@" 2>/dev/null | tr -d '\r'; }
shot=$work/screen.png
pixel() { # X Y: "red,green,blue"
  convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}
colour_is() { # WHAT COLOUR X Y...
  local what=$1 colour=$2; shift 2
  while [ $# -gt 1 ]; do
    [ "$(pixel "$1" "$2")" = "$colour" ] || fail "$what ($1,$2) is $(pixel "$1" "$2"), not $colour"
    shift 2
  done
}
black=0,0,0 white=255,255,255 silver=192,192,192
scaled() { echo $(( ($1 * dpi + 48) / 96 )); } # as the dialog rounds (MulDiv)
# LogPixels $dpi, then a fresh Wine server, whose desktop takes it up.
scaling() { # DPI
  dpi=$1
  reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  wine_server_stop
}
start() { start_saver "$saver" "$@"; }
stop() { kill "$pid" 2>/dev/null; wait_for "$end_limit" ended; }
# The white surface with its corners at X0 Y0 and X1 Y1, the rosette drawn at CX CY.
surface_at() { # X0 Y0 X1 Y1 CX CY
  [ "$(pixel "$1" "$2")" = "$white" ] && [ "$(pixel "$3" "$4")" = "$white" ] && [ "$(pixel "$5" "$6")" != "$white" ]
}

for dpi in 96 120 144 192; do
  # The full-screen saver on 2560x1440, white surface in black margins, 1:1.
  begin_case "saver-$dpi" 2560x1440x24 && {
    scaling "$dpi"
    xdotool mousemove 1280 720
    store_settings Background:1
    start /s
    if expect_window; then
      expect "awareness" per-monitor-v2 "$(run "$display_driver" awareness)"
      shoot_until surface_at 320 120 2239 1319 1280 720 || fail "no surface at (320,120)-(2239,1319) with a rosette"
      cp "$shot" "$shots/dpi-saver-$dpi.png"
      colour_is "surface" "$white" 320 120 2239 120 320 1319 2239 1319
      colour_is "margin" "$black" 319 120 320 119 2240 1319 2239 1320 0 0 2559 1439
    fi
    stop
  }

  # The dialog: first run on 2560x1440 (no preset: Bright 0, the desktop's size).
  begin_case "dialog-$dpi" 2560x1440x24 && {
    scaling "$dpi"
    reg delete "$key" /f >/dev/null
    start /c
    mapfile -t got < <(run "$settings_driver" wait dpi "$dpi" awareness layout label Size origin)
    expect "awareness" per-monitor-v2 "${got[0]:-}"
    expect "layout" ok "${got[1]:-}"
    expect "size label" "2560x1440-Your Desktop" "${got[2]:-}"
    read -r ox oy <<<"${got[3]:-}"
    [[ "${ox:-}" =~ ^[0-9]+$ && "${oy:-}" =~ ^[0-9]+$ ]] || { fail "no dialog origin"; ox=0 oy=0; }
    # The preview at its scaled size: white to its last pixel, the dialog's silver after it.
    right=$(( ox + $(scaled 512) - 1 )) bottom=$(( oy + $(scaled 382) - 1 ))
    preview_drawn() { shoot; [ "$(pixel "$right" "$bottom")" = "$white" ]; }
    wait_for "$appear_limit" preview_drawn || true
    cp "$shot" "$shots/dpi-dialog-$dpi.png"
    colour_is "preview's corners" "$white" "$ox" "$oy" "$right" "$bottom"
    colour_is "below the preview" "$silver" "$right" $(( bottom + 2 ))
    stop
  }

  # The preview fills the DPI-aware host's 152x112 window.
  begin_case "preview-$dpi" 640x480x24 && {
    scaling "$dpi"
    report_file=$work/report
    timeout "$appear_limit" "$WINELOADER" "$host" "$saver" inspect 20000 >"$report_file" 2>/dev/null &
    host_job=$!
    wait_for "$appear_limit" grep -q '^ready' "$report_file" || fail "no preview"
    # The host keeps its window for 20 s.
    filled() { shoot; [ "$(pixel 151 111)" = "$white" ] && [ "$(pixel 0 0)" = "$white" ]; }
    wait_for 15 filled || fail "the host's corners are $(pixel 0 0) and $(pixel 151 111), not the preview's white"
    wait "$host_job"
    report=$(tr -d '\r' <"$report_file")
    grep -qxF "rect 0 0 152 112" <<<"$report" || fail "preview window: $(tr '\n' '|' <<<"$report")"
    grep -qxF "awareness per-monitor-v2" <<<"$report" || fail "awareness: $(tr '\n' '|' <<<"$report")"
  }
done

# A first run on 1920x1200 at 150 %: Bright 12, the preset of the physical size (not 4, that
# of the 1280x800 a program without awareness is shown).
begin_case first-run-1920 1920x1200x24 && {
  scaling 144
  reg delete "$key" /f >/dev/null
  start /c
  expect "size label" "1920x1200-Your Desktop" "$(run "$settings_driver" wait dpi 144 label Size)"
  expect "stored Bright" 0xc "$(reg query "$key" /v Bright | awk '$1 == "Bright" { print $3 }')"
  stop
}

# /c:HWND from another process: the dialog belongs to that window, which is disabled while
# the dialog is open and enabled and active again after Close.
begin_case modal 1024x768x24 && {
  scaling 96
  store_settings
  report=$(run "$host" "$saver" settings)
  for line in "owned by host" "host disabled while open" "host enabled after close" "host active after close"; do
    grep -qxF "$line" <<<"$report" || fail "no '$line' in: $(tr '\n' '|' <<<"$report")"
  done
}

# The other monitors covered at 150 % (Xorg's dummy driver: a 1920x1200 primary, a 1280x1024
# monitor right of it), as monitors-e2e.sh sets it up.
if xorg_available && { [ -z "${E2E_CASES:-}" ] || [[ " $E2E_CASES " == *" covers "* ]]; }; then
  case=covers
  wine_server_stop; xvfb_stop
  if xorg_start; then
    xrandr --output DUMMY0 --primary --mode 1920x1200 --pos 0x0 --output DUMMY1 --mode 1280x1024 --pos 1920x0
    xsetroot -solid red
    xdotool mousemove 960 600
    scaling 144
    store_settings Background:1
    start /s
    covered() { [ "$(run "$display_driver" covers | paste -sd'|')" = "1920 0 3200 1024" ]; }
    wait_for "$appear_limit" covered || fail "covers: $(run "$display_driver" covers | paste -sd'|')"
    shoot_until surface_at 0 0 1919 1199 960 600 || fail "no surface on the primary"
    cp "$shot" "$shots/dpi-covers-144.png"
    colour_is "second monitor" "$black" 1920 0 2560 512 3199 1023
    stop
  else fail "Xorg did not start"; fi
fi

[ "$failures" = 0 ] && echo "dpi e2e: all cases passed"
exit $((failures > 0))
