#!/usr/bin/env bash
# Checks that the Windows products of a build folder are what they must be: PE32 (i386)
# executables that need no DLL beyond the system's own.
set -u
dir=$1
status=0
for exe in "$dir"/*.exe "$dir"/*.scr; do
  [ -e "$exe" ] || continue
  kind=$(file -b "$exe")
  case "$kind" in
    PE32\ *Intel\ 80386*) ;;
    *) echo "check-pe: $exe is not a 32-bit PE: $kind"; status=1 ;;
  esac
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' |
    grep -v -E '^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|msvcrt|ole32|api-ms-win-.*)\.dll$' || true)
  if [ -n "$dlls" ]; then echo "check-pe: $exe needs $dlls"; status=1; fi
done
[ $status = 0 ] && echo "check-pe: Windows executables in $dir are self-contained PE32"
exit $status
