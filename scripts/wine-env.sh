# Sourced inside the chroot of scripts/chroot.sh: the project's private, headless Wine 10
# with a win64 prefix, which runs 32-bit programs as 64-bit Windows does (system32 and
# syswow64).
rosacle_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export WINEPREFIX=${ROSACLE_WINEPREFIX:-$rosacle_root/build/wine-wow64-prefix}
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
WINE=$WINELOADER

# The prefix's folder that GetSystemDirectory names for a program: syswow64 for a 32-bit
# program in a 64-bit prefix, system32 otherwise.
wine_system_folder() { # PROGRAM
  if od -An -tx1 -j "$(( $(od -An -tu4 -j 60 -N 4 "$1") + 24 ))" -N 2 "$1" | grep -q '0b 01'; then
    echo "$WINEPREFIX/drive_c/windows/syswow64"
  else
    echo "$WINEPREFIX/drive_c/windows/system32"
  fi
}

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

# The Windows build to run: the 32-bit product where this kernel executes 32-bit code (the
# chroot's 32-bit Wine loader starts), its 64-bit twin otherwise.
wine_runs_32_bit() { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; }
wine_product_build() {
  if wine_runs_32_bit; then echo "$rosacle_root/build/win32"; else echo "$rosacle_root/build/win64"; fi
}
