#!/usr/bin/env bash
# The installer package under Wine's own msiexec in the project's 64-bit (WoW64) prefix:
# install, the choice of saver, uninstall, upgrade from an older package, repair and bad input.
# Each case leaves the product uninstalled.
# installer-e2e.sh PACKAGE.msi PRODUCT.scr VERSION OLDER.msi (the file it carries: OLDER.scr)
set -u
package=$1
product=$2
version=$3
older=$4
older_bytes=${older%.msi}.scr
older_version=${older%.msi}; older_version=${older_version##*-}
source "$(dirname "$0")/e2e-lib.sh"
for f in "$package" "$product" "$older" "$older_bytes"; do
  [ -f "$f" ] || { echo "installer e2e: $f is missing (the win32 build makes it)"; exit 1; }
done

sys="$WINEPREFIX/drive_c/windows/syswow64"
installed="$sys/FractalRosacle.scr"
saver_path='C:\windows\syswow64\FractalRosacle.scr'  # as Windows names the installed file
other_saver='C:\windows\system32\other.scr'
desk='HKCU\Control Panel\Desktop'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
wall_key='HKCU\Software\Fractal_Rosacle'

start() { # NAME: runs the case unless E2E_CASES names others
  case=$1
  [ -z "${E2E_CASES:-}" ] || [[ " $E2E_CASES " == *" $1 "* ]]
}
msi() { timeout 300 "$WINELOADER" msiexec "$@" /qn >/dev/null 2>&1; } # /i|/x PACKAGE [PROPERTY=VALUE...]
install() { msi /i "$@" || fail "msiexec /i $* exited with $?"; }
uninstall() { msi /x "$package" || fail "msiexec /x exited with $?"; }

# A REG_SZ or REG_DWORD value's data, empty when the value is missing.
value() { # KEY NAME
  reg query "$1" /v "$2" | awk -v n="$2" '$1 == n { sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print }'
}
set_desk() { reg add "$desk" /v "$1" /t REG_SZ /d "$2" /f >/dev/null; } # NAME DATA
clear_desk() { reg delete "$desk" /v "$1" /f >/dev/null; }               # NAME
# The user's own screen-saver settings before each case: another saver, inactive, a timeout
# and a password.
user_desk() {
  set_desk SCRNSAVE.EXE "$other_saver"; set_desk ScreenSaveActive 0
  set_desk ScreenSaveTimeOut 777; set_desk ScreenSaverIsSecure 1
}
expect_user_timeout_and_password() {
  [ "$(value "$desk" ScreenSaveTimeOut)" = 777 ] || fail "ScreenSaveTimeOut changed: $(value "$desk" ScreenSaveTimeOut)"
  [ "$(value "$desk" ScreenSaverIsSecure)" = 1 ] || fail "ScreenSaverIsSecure changed: $(value "$desk" ScreenSaverIsSecure)"
}
expect_saver() { # DATA [WHAT]: SCRNSAVE.EXE (case-insensitive, as Windows compares paths)
  local now; now=$(value "$desk" SCRNSAVE.EXE)
  [ "${now,,}" = "${1,,}" ] || fail "${2:-}SCRNSAVE.EXE is '$now', not '$1'"
}

# The Add/Remove Programs entries named "Fractal Rosacle" (product-code keys, either registry
# view: Windows keeps those of 32-bit packages in the 64-bit view, Wine in the 32-bit one).
arp_keys() {
  local view
  for view in 32 64; do
    reg query "$uninstall_key" /s "/reg:$view" | awk '
      /^HKEY_/ { key = $0 }
      $1 == "DisplayName" && $2 == "REG_SZ" { sub(/^ *DisplayName +REG_SZ +/, ""); if ($0 == "Fractal Rosacle") print key }'
  done | sed 's/.*\\//' | sort -u
}
arp_value() { # NAME: from the one entry
  local code view v
  code=$(arp_keys)
  for view in 32 64; do
    v=$(reg query "$uninstall_key\\$code" /v "$1" "/reg:$view" |
        awk -v n="$1" '$1 == n { sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print }')
    [ -n "$v" ] && { echo "$v"; return; }
  done
}
expect_installed() { # BYTES VERSION
  cmp -s "$1" "$installed" || fail "the installed file is not $(basename "$1")"
  [ ! -e "$WINEPREFIX/drive_c/windows/system32/FractalRosacle.scr" ] || fail "a copy went to system32"
  local keys; keys=$(arp_keys)
  [ "$(wc -w <<<"$keys")" = 1 ] || { fail "Add/Remove Programs entries: '$keys'"; return; }
  [ "$(arp_value DisplayVersion)" = "$2" ] || fail "entry version '$(arp_value DisplayVersion)', not $2"
}
expect_removed() {
  [ ! -e "$installed" ] || fail "the file is still installed"
  [ -z "$(arp_keys)" ] || fail "Add/Remove Programs still lists $(arp_keys)"
}
# The entry's icon: the product's registered icon, a copy of the saver's icon.
expect_icon() {
  local icon
  icon=$(reg query 'HKLM\Software\Classes\Installer\Products' /s |
         awk '$1 == "ProductIcon" { sub(/^ *ProductIcon +REG_SZ +/, ""); print }' | grep -i FractalRosacle.ico | head -n 1)
  [ -n "$icon" ] || { fail "no product icon registered"; return; }
  icon=${icon#?:\\}
  cmp -s "$root/app/FractalRosacle.ico" "$WINEPREFIX/drive_c/${icon//\\//}" ||
    fail "the product icon $icon is not the saver's icon"
}

# /s from the installed file draws and a key ends it: needs 32-bit code execution.
run_installed_saver() {
  if ! wine_runs_32_bit; then
    echo "installer e2e: /s of the installed 32-bit saver skipped: this machine cannot execute 32-bit code"
    return
  fi
  local outer=${DISPLAY:-} shot
  wine_server_stop
  xvfb_start 1024x768x24 || { fail "no display"; return; }
  store_settings
  xdotool mousemove 512 384
  start_saver "$saver_path" /s
  shot=$(mktemp --suffix=.png)
  centre_drawn() { [ "$(pixel 512 384)" != "srgb(255,255,255)" ] && drawn; }
  if expect_window; then
    shoot_until centre_drawn || fail "the installed saver drew no rosette"
    xdotool key a
    expect_end "a key to the installed saver"
  fi
  rm -f "$shot"
  pid=
  wine_server_stop
  xvfb_stop
  # msiexec and reg go on with the display the script was given, if any.
  if [ -n "$outer" ]; then export DISPLAY=$outer; else unset DISPLAY; fi
}

cleanup() {
  msi /x "$package"; msi /x "$older"
  local v; for v in SCRNSAVE.EXE ScreenSaveActive ScreenSaveTimeOut ScreenSaverIsSecure; do clear_desk "$v"; done
  reg delete "$wall_key" /f >/dev/null
  forget_settings
  wine_server_stop
  xvfb_stop
}
trap cleanup EXIT
wine_server_stop
msi /x "$package"; msi /x "$older" # what an interrupted run left

start install-and-uninstall && {
  user_desk
  reg add "$key" /v Speed /t REG_DWORD /d 54 /f >/dev/null
  reg add "$wall_key" /v Path_Wall /t REG_SZ /d 'C:\pictures' /f >/dev/null
  install "$package"
  expect_installed "$product" "$version"
  expect_saver "$saver_path"
  [ "$(value "$desk" ScreenSaveActive)" = 1 ] || fail "ScreenSaveActive is '$(value "$desk" ScreenSaveActive)'"
  expect_user_timeout_and_password
  [ "$(arp_value DisplayName)" = "Fractal Rosacle" ] || fail "entry name '$(arp_value DisplayName)'"
  [ "$(arp_value Publisher)" = "Fractal Rosacle" ] || fail "entry publisher '$(arp_value Publisher)'"
  expect_icon
  run_installed_saver
  uninstall
  expect_removed
  [ -z "$(value "$desk" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE still names the removed file"
  expect_user_timeout_and_password
  [ "$(value "$key" Speed)" = 0x36 ] || fail "the settings under $key are gone"
  [ "$(value "$wall_key" Path_Wall)" = 'C:\pictures' ] || fail "the settings under $wall_key are gone"
}

start uninstall-keeps-another-saver && {
  user_desk
  install "$package"
  set_desk SCRNSAVE.EXE "$other_saver" # the user picked another saver since
  uninstall
  expect_removed
  expect_saver "$other_saver" "after uninstall: "
}

start setsaver-0 && {
  user_desk
  install "$package" SETSAVER=0
  expect_installed "$product" "$version"
  expect_saver "$other_saver"
  [ "$(value "$desk" ScreenSaveActive)" = 0 ] || fail "SETSAVER=0 changed ScreenSaveActive"
  uninstall
  expect_removed
  expect_saver "$other_saver" "after uninstall: "
  # Without any saver set, SETSAVER=0 sets none.
  clear_desk SCRNSAVE.EXE
  install "$package" SETSAVER=0
  [ -z "$(value "$desk" SCRNSAVE.EXE)" ] || fail "SETSAVER=0 set SCRNSAVE.EXE"
  uninstall
}

# Only 0 turns the choice off; other values, words and empty among them, select the saver.
start setsaver-other-values && {
  for v in yes false ''; do
    user_desk
    install "$package" "SETSAVER=$v"
    expect_saver "$saver_path" "SETSAVER='$v': "
    uninstall
  done
}

# The older package (other bytes) is replaced: one file, one entry. The upgrade is given
# SETSAVER=0: the choice the older package made names the same file and stays.
start upgrade && {
  user_desk
  install "$older"
  expect_installed "$older_bytes" "$older_version"
  expect_saver "$saver_path"
  install "$package" SETSAVER=0
  expect_installed "$product" "$version"
  expect_saver "$saver_path" "after the upgrade: "
  # The older package cannot go back over the newer one.
  msi /i "$older" && fail "the older package installed over the newer one"
  expect_installed "$product" "$version"
  uninstall
  expect_removed
}

# The same package again restores a deleted file: still one file and one entry.
start repair && {
  user_desk
  install "$package"
  rm -f "$installed"
  install "$package"
  expect_installed "$product" "$version"
  install "$package"
  expect_installed "$product" "$version"
  uninstall
  expect_removed
}

start truncated-package && {
  user_desk
  cut=$(mktemp --suffix=.msi)
  head -c $(( $(stat -c %s "$package") / 2 )) "$package" >"$cut"
  msi /i "$cut" && fail "msiexec accepted a truncated package"
  rm -f "$cut"
  expect_removed
  expect_saver "$other_saver"
}

[ "$failures" = 0 ] && echo "installer e2e: all cases passed"
exit $((failures > 0))
