# Sourced: the project's private, headless Wine set-up for one bitness (32 or 64).
# 32 is the product's own; 64 runs the 64-bit twin build on machines whose kernel cannot
# execute 32-bit code.
rosacle_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rosacle_bits=${1:-64}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$rosacle_bits" = 32 ]; then
  export WINEARCH=win32
  export WINEPREFIX=${ROSACLE_WINEPREFIX32:-$rosacle_root/build/wine32-prefix}
  export WINELOADER=/usr/lib/wine/wine
  export WINESERVER=/usr/lib/wine/wineserver32
else
  export WINEARCH=win64
  export WINEPREFIX=${ROSACLE_WINEPREFIX64:-$rosacle_root/build/wine64-prefix}
  export WINELOADER=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
fi
WINE=$WINELOADER

# Whether this machine can run the chosen Wine at all (32-bit needs the kernel's ia32 support).
wine_usable() { "$WINELOADER" --version >/dev/null 2>&1; }

# Ends the Wine server and waits until it is gone. Each end-to-end script calls it after it has
# started its own display, so that no Wine process, the desktop among them, still serves a
# display that has gone away; and at its end, so the next script meets no dying server.
wine_server_stop() { "$WINESERVER" -k 2>/dev/null; timeout 60 "$WINESERVER" -w 2>/dev/null || true; }

# Creates the prefix once; later calls return at once.
wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    timeout 300 "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    timeout 120 "$WINESERVER" -w || true
  fi
  [ -f "$WINEPREFIX/system.reg" ] || return 1
  wine_fonts_ready
}

# Wine's own fonts (package fonts-wine) into the prefix's font folder, where this Wine looks
# for them; without them "Tahoma" and the system fonts fall back to wider substitutes.
wine_fonts_ready() {
  local from=/usr/share/wine/fonts to="$WINEPREFIX/drive_c/windows/Fonts" font
  [ -d "$from" ] && [ -d "$to" ] || return 0
  for font in "$from"/*; do
    [ -e "$to/${font##*/}" ] || cp "$font" "$to/" 2>/dev/null || true
  done
}
