#!/usr/bin/env bash
# The wallpaper export end to end: the settings dialog (/c) under Wine on a private Xvfb
# screen, driven from another process (buttons, the name box, the folder list) and by real X
# input (keys, double-clicks, the close box); checks the files, the registry and the preview.
# Every wait polls a condition under a generous timeout.
# wallpaper-e2e.sh SAVER.scr DIALOG_DRIVER.exe BOXTEXT.exe ROSACLE.exe
set -u -o pipefail # a driver's exit status counts, not that of the filter behind it
saver=$(realpath "$1")
driver=$(realpath "$2")
boxtext=$(realpath "$3")
tool=$(realpath "$4")
source "$(dirname "$0")/e2e-lib.sh"

folder_key='HKCU\Software\Fractal_Rosacle'
x11_key='HKCU\Software\Wine\X11 Driver'
settings_caption='Fractal Rosacle Settings'
caption='Save Wallpaper'
base="$WINEPREFIX/drive_c/rosacle-e2e"
win_base='C:\rosacle-e2e'
unicode_name='Обои 壁紙'
scratch=$(mktemp -d)

drive() { timeout 120 "$WINELOADER" "$driver" "$@" 2>/dev/null | tr -d '\r'; }
# A registry value as the .reg export writes it (UTF-16 there, UTF-8 here).
exported() { # KEY VALUE
  rm -f "$scratch/export.reg"
  (cd "$scratch" && "$WINELOADER" reg export "$1" export.reg /y >/dev/null 2>&1)
  [ -f "$scratch/export.reg" ] && iconv -f UTF-16 -t UTF-8 "$scratch/export.reg" | tr -d '\r' | grep "^\"$2\"="
}

# The saver's settings with the wallpaper size `bright`, pattern 1 and 8 petals fixed; the
# wallpaper folder only under the settings key.
settings() { # BRIGHT BACKGROUND PATH_WALL
  store_settings Bright:"$1" Background:"$2"
  reg add "$key" /v Path_Wall /t REG_SZ /d "$3" /f >/dev/null
  reg delete "$folder_key" /f >/dev/null
  background=255,255,255; [ "$2" = 1 ] || background=0,0,0
}

start_case() { # NAME SCREEN
  stop_dialog
  begin_case "$@"
}
# /c started in the folder `start` (a folder with known files), the settings dialog shown.
start_dialog() {
  (cd "$base/start" && exec "$WINELOADER" "$saver" /c >/dev/null 2>&1) &
  pid=$!
  drive wait "$settings_caption" 90000 >/dev/null || { fail "no settings dialog"; return 1; }
  preview=$(drive client "$settings_caption")
  preview="512x382+${preview% *}+${preview#* }"
}
stop_dialog() {
  running || return 0
  drive click "$settings_caption" Close >/dev/null
  wait_for 30 ended || { fail "settings dialog still running"; kill "$pid" 2>/dev/null; }
}

# "Save wallpaper" and the Save Wallpaper dialog that it opens.
open_export() {
  drive click "$settings_caption" "Save wallpaper" >/dev/null
  drive wait "$caption" 60000 >/dev/null || { fail "no Save Wallpaper dialog"; return 1; }
}
expect_name() { # NAME
  local name; name=$(drive text "$caption")
  [ "$name" = "$1" ] || fail "offered name '$name', not '$1'"
}
dialogs_open() { [ "$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | wc -l)" = "$1" ]; }
folder_is() { [ "$(drive folder "$caption")" = "$1" ]; }
expect_folder() { # PATH
  local folder; folder=$(drive folder "$caption")
  [ "$folder" = "$1" ] || fail "folder list on '$folder', not '$1'"
}
expect_closed() { # HOW
  drive gone "$caption" 30000 >/dev/null || { fail "Save Wallpaper still open after $1"; return 1; }
  wait_for 60 preview_runs || fail "no 512 x 382 preview after $1"
}
# Double-clicks the folder list's entry NAME with the real mouse.
open_folder() { # NAME
  local point; point=$(drive item "$caption" "$1") || { fail "no folder entry '$1'"; return 1; }
  xdotool mousemove ${point% *} ${point#* } click --repeat 2 --delay 80 1
}

rgb() { # IMAGE X Y: "r,g,b"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+.5)],%[fx:int(255*p{$2,$3}.g+.5)],%[fx:int(255*p{$2,$3}.b+.5)]" info:
}
# The share of a region of an image that is not the background colour.
coloured() { # IMAGE WxH+X+Y
  convert "$1" -crop "$2" +repage -fuzz 3% -fill black -opaque "rgb($background)" -fill white +opaque black \
    -colorspace gray -format '%[fx:mean]' info:
}
# The settings dialog's picture moves, and it is laid out for 512 x 382: the rosette around
# the preview's centre (one laid out for a wallpaper would leave that part clear), the
# corner clear.
preview_runs() {
  import -window root -crop "$preview" +repage "$scratch/p1.png" 2>/dev/null || return 1
  sleep 0.3
  import -window root -crop "$preview" +repage "$scratch/p2.png" 2>/dev/null || return 1
  [ "$(compare -metric AE "$scratch/p1.png" "$scratch/p2.png" null: 2>&1)" != 0 ] || return 1
  awk "BEGIN { exit !($(coloured "$scratch/p2.png" 60x60+100+161) > 0.5) }" &&
    [ "$(rgb "$scratch/p2.png" 2 2)" = "$background" ]
}

# A JPEG of the wallpaper size and quality 90 whose rosette covers what `rosacle render`
# covers for the same settings (the colours depend on the phases, the footprint does not).
expect_wallpaper() { # FILE WIDTH HEIGHT BACKGROUND(white|black)
  [ -f "$1" ] || { fail "no file $1"; return 1; }
  local facts; facts=$(identify -format '%m %w %h %Q %[colorspace]' "$1" 2>&1)
  [ "$facts" = "JPEG $2 $3 90 sRGB" ] || { fail "$(basename "$1"): $facts"; return 1; }
  local colour=255,255,255; [ "$4" = white ] || colour=0,0,0
  [ "$(rgb "$1" 3 3)" = "$colour" ] || fail "$(basename "$1"): corner not $4: $(rgb "$1" 3 3)"
  (cd "$scratch" && "$WINELOADER" "$tool" render --pattern 1 --petals 8 --size "$2x$3" --background "$4" \
     --seed 1 -o reference.ppm >/dev/null 2>&1)
  local image differ
  for image in "$1" "$scratch/reference.ppm"; do # background white, rosette black
    convert "$image" -fuzz 6% -fill white -opaque "$4" -fill black +opaque white "$scratch/mask-$(basename "$image").png"
  done
  differ=$(compare -metric AE "$scratch/mask-$(basename "$1").png" "$scratch/mask-reference.ppm.png" null: 2>&1)
  [ -n "$differ" ] && [ "${differ%.*}" -lt $(( $2 * $3 / 50 )) ] ||
    fail "$(basename "$1"): footprint differs from rosacle render in $differ pixels"
}

cleanup() {
  stop_dialog
  reg delete "$x11_key" /v Decorated /f >/dev/null
  reg delete "$key" /f >/dev/null
  reg delete "$folder_key" /f >/dev/null
  [ -d "$scratch/locked" ] && chattr -i "$scratch/locked" 2>/dev/null
  chmod -R u+w "$scratch" 2>/dev/null
  rm -rf "$scratch" "$base"
  wine_server_stop
  xvfb_stop
}
trap cleanup EXIT

# Wine draws the frames itself (there is no window manager), so the close box can be clicked.
reg add "$x11_key" /v Decorated /t REG_SZ /d N /f >/dev/null
rm -rf "$base"
mkdir -p "$base/start/inner" "$base/walls/$unicode_name" "$base/walls/alpha" "$base/abs"
echo notes >"$base/start/notes.txt"
echo picture >"$base/start/picture.bmp"

start_case save-and-close 1366x768x24 && {
  settings 7 1 "$win_base\\walls"
  if start_dialog && open_export; then
    expect_name Rosacle1
    expect_folder "$win_base\\walls"
    files=$(drive files "$caption" | tr '\n' ' ')
    [ "$files" = "notes.txt picture.bmp " ] || fail "file list: '$files'"
    drive click "$caption" Save >/dev/null
    expect_closed "Save"
    expect_wallpaper "$base/walls/Rosacle1.jpg" 1366 768 white
    ! "$WINELOADER" reg query "$folder_key" >/dev/null 2>&1 || fail "the folder key was written though the folder stayed"

    open_export && expect_name Rosacle2
    drive click "$caption" Cancel >/dev/null
    expect_closed "Cancel"
    open_export && expect_name Rosacle2
    xdotool key Escape
    expect_closed "Escape"
    [ ! -e "$base/walls/Rosacle2.jpg" ] || fail "Cancel or Escape wrote a file"

    open_export && expect_name Rosacle2
    xdotool key Return
    expect_closed "Enter"
    [ -f "$base/walls/Rosacle2.jpg" ] || fail "Enter saved nothing"

    open_export && expect_name Rosacle3
    point=$(drive closebox "$caption")
    xdotool mousemove ${point% *} ${point#* } click 1
    expect_closed "the close box"
    [ ! -e "$base/walls/Rosacle3.jpg" ] || fail "the close box wrote a file"

    # A wallpaper folder that cannot be entered leaves the current directory as it is.
    reg add "$folder_key" /v Path_Wall /t REG_SZ /d "$win_base\\missing" /f >/dev/null
    open_export && expect_folder "$win_base\\walls"
    drive click "$caption" Cancel >/dev/null
    expect_closed "Cancel"
    ! compgen -G "$base/walls/*.part" >/dev/null || fail "temporary files left: $(ls "$base/walls")"

    # A folder value of the wrong type: the error box (no full stop after a quote), no
    # half-made dialog, the preview back.
    reg add "$folder_key" /v Path_Wall /t REG_DWORD /d 1 /f >/dev/null
    drive click "$settings_caption" "Save wallpaper" >/dev/null
    text=$(timeout 90 "$WINELOADER" "$boxtext" "Fractal Rosacle Screensaver" | tr -d '\r')
    [ "$text" = "Invalid data type for 'Path_Wall'" ] || fail "box text: '$text'"
    expect_closed "a failed start"
    reg delete "$folder_key" /f >/dev/null

    # Two exports open at once: closing one gives the preview back, the other still saves
    # the picture.
    open_export && drive click "$settings_caption" "Save wallpaper" >/dev/null
    wait_for 60 dialogs_open 2 || fail "no second Save Wallpaper dialog"
    drive click "$caption" Cancel >/dev/null
    wait_for 30 dialogs_open 1 || fail "Cancel did not close one of the two"
    drive settext "$caption" second
    drive click "$caption" Save >/dev/null
    expect_closed "the second dialog's Save"
    expect_wallpaper "$base/walls/second.jpg" 1366 768 white
  fi
}

start_case folders-and-names 1366x768x24 && {
  settings 7 1 "$win_base\\walls"
  unicode_folder="$win_base\\walls\\$unicode_name"
  if start_dialog && open_export; then
    open_folder "$unicode_name"
    wait_for 20 folder_is "$unicode_folder" || fail "double-click did not open the folder"
    drive click "$caption" Save >/dev/null
    expect_closed "Save"
    [ -f "$base/walls/$unicode_name/Rosacle1.jpg" ] || fail "no Rosacle1.jpg in the chosen folder"
    stored=$(exported "$folder_key" Path_Wall)
    [ "$stored" = "\"Path_Wall\"=\"${unicode_folder//\\/\\\\}\"" ] || fail "folder key holds: $stored"
    open_export && expect_folder "$unicode_folder" && expect_name Rosacle2
    drive click "$caption" Cancel >/dev/null
    expect_closed "Cancel"
    stop_dialog
  fi
  # A new run opens on the remembered folder; a typed extension stays part of the name.
  if start_dialog && open_export; then
    expect_folder "$unicode_folder"
    expect_name Rosacle1
    drive settext "$caption" wall.png
    drive click "$caption" Save >/dev/null
    expect_closed "Save"
    expect_wallpaper "$base/walls/$unicode_name/wall.png.jpg" 1366 768 white
    [ ! -e "$base/walls/$unicode_name/wall.png" ] || fail "wall.png was written"

    # An absolute name goes where it says; the listed folder still becomes the wallpaper folder.
    open_export && expect_name Rosacle2
    open_folder walls
    wait_for 20 folder_is "$win_base\\walls" || fail "could not open walls"
    drive settext "$caption" "$win_base\\abs\\rose"
    drive click "$caption" Save >/dev/null
    expect_closed "Save"
    [ -f "$base/abs/rose.jpg" ] || fail "no abs\\rose.jpg"
    [ ! -e "$base/walls/rose.jpg" ] || fail "the absolute name was put in the listed folder"
    stored=$(exported "$folder_key" Path_Wall)
    [ "$stored" = "\"Path_Wall\"=\"${win_base//\\/\\\\}\\\\walls\"" ] || fail "folder key holds: $stored"
  fi
}

# A folder that refuses new files (immutable for root, read-only for anyone else).
lock_folder() { # DIR
  chattr +i "$1" 2>/dev/null || chmod a-w "$1"
  ! (: >"$1/probe") 2>/dev/null
}

start_case cannot-create 1366x768x24 && {
  mkdir -p "$scratch/locked"
  printf 'an older picture' >"$scratch/locked/Rosacle1.jpg"
  if ! lock_folder "$scratch/locked"; then
    echo "SKIP [$case]: no folder here refuses new files"
  else
    settings 7 1 "Z:${scratch//\//\\}\\locked"
    if start_dialog && open_export; then
      drive click "$caption" Save >/dev/null
      text=$(timeout 90 "$WINELOADER" "$boxtext" "Fractal Rosacle Screensaver" | tr -d '\r')
      [ "$text" = "Cannot create file Rosacle1.jpg." ] || fail "box text: '$text'"
      drive wait "$caption" 5000 >/dev/null || fail "the dialog closed after the error"
      expect_name Rosacle1
      [ "$(cat "$scratch/locked/Rosacle1.jpg")" = "an older picture" ] || fail "the existing file was changed"

      # An invalid name in a folder that takes files: the same box, with the name as typed.
      drive settext "$caption" "$win_base\\walls\\bad|name"
      drive click "$caption" Save >/dev/null
      text=$(timeout 90 "$WINELOADER" "$boxtext" "Fractal Rosacle Screensaver" | tr -d '\r')
      [ "$text" = "Cannot create file $win_base\\walls\\bad|name.jpg." ] || fail "box text: '$text'"
      drive click "$caption" Cancel >/dev/null
      expect_closed "Cancel after the errors"
      open_export && expect_name Rosacle1
      drive click "$caption" Cancel >/dev/null
      expect_closed "Cancel"
    fi
  fi
}

# Three times "Save wallpaper" and Cancel: $times, the milliseconds from each click to the
# dialog.
time_three_clicks() {
  local ms
  times=
  for _ in 1 2 3; do
    ms=$(drive timed-click "$settings_caption" "Save wallpaper" "$caption" 60000) || { fail "no dialog"; break; }
    times="$times $ms"
    drive click "$caption" Cancel >/dev/null
    expect_closed "Cancel"
  done
}

# The largest wallpaper on a black background, and the time from the click to the dialog.
start_case largest 1920x1200x24 && {
  settings 12 0 "$win_base\\walls"
  if start_dialog; then
    time_three_clicks
    echo "click to Save Wallpaper dialog at 1920x1200 (ms):$times"
    open_export && drive click "$caption" Save >/dev/null
    expect_closed "Save"
    expect_wallpaper "$base/walls/Rosacle1.jpg" 1920 1200 black
  fi
}

# The same time for each pattern of WALLPAPER_TIMING (a list, e.g. "$(seq 1 40)"), with
# WALLPAPER_PETALS petals (default 8): a measurement, run on demand only (with
# E2E_CASES=timing alone).
for k in ${WALLPAPER_TIMING:-}; do
  start_case timing 1920x1200x24 || continue
  store_settings Bright:12 Rosacle:"$k" Segment:"${WALLPAPER_PETALS:-8}"
  background=255,255,255
  reg delete "$folder_key" /f >/dev/null
  start_dialog || continue
  time_three_clicks
  echo "pattern $k: click to Save Wallpaper dialog at 1920x1200 (ms):$times"
done

[ "$failures" = 0 ] && echo "wallpaper e2e: all cases passed"
exit $((failures > 0))
