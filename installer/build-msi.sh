#!/usr/bin/env bash
# Builds the Windows Installer package from FractalRosacle.wxs with wixl, then sets in its
# tables what wixl 0.101 (Debian 12) cannot write from WiX source: component conditions, the
# permanent attribute, an inclusive upper version bound on the upgrade row, a plain
# set-property action type and SETSAVER as a secure property.
# build-msi.sh OUTPUT.msi VERSION SAVER.scr ICON.ico
set -euo pipefail
out=$1 version=$2 saver=$3 icon=$4
wxs="$(cd "$(dirname "$0")" && pwd)/FractalRosacle.wxs"

# wixl looks files up relative to its working folder only: stage them under plain names.
stage=$(mktemp -d "${out%/*}/.msi-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$saver" "$stage/FractalRosacle.scr"
cp "$icon" "$stage/FractalRosacle.ico"
(cd "$stage" && wixl -a x86 -D "Version=$version" -D Saver=FractalRosacle.scr \
   -D Icon=FractalRosacle.ico -o package.msi "$wxs")

# Rewrites rows of TABLE: the awk program sees the fields of each row (after the three header
# lines of the exported table) and changes them; the table is then imported back.
fix_table() { # TABLE AWK-PROGRAM [AWK-ARGS...]
  local table=$1 program=$2; shift 2
  msiinfo export "$stage/package.msi" "$table" | tr -d '\r' |
    awk -F '\t' -v OFS='\t' "$@" "NR > 3 { $program } { print }" >"$stage/$table.idt"
  (cd "$stage" && msibuild package.msi -i "$table.idt")
}
# SCRNSAVE.EXE is written at install unless SETSAVER=0 (or rewritten unchanged when it names
# this file already: an upgrade's removal of the older product may take it away first). At
# uninstall its component, and the value with it, goes only while the value names this file:
# a component whose condition is false is left alone.
choice='SAVERNOW ~= SAVERPATH OR (NOT REMOVE AND SETSAVER <> "0")'
# ScreenSaveActive: written unless SETSAVER=0, permanent (16) beside its registry key path (4).
active='SETSAVER <> "0"'
fix_table Component '
  if ($1 == "SaverChoice") $5 = choice
  if ($1 == "SaverActive") { $4 = 20; $5 = active }' -v choice="$choice" -v active="$active"
# Up to this version inclusive (a rebuilt package of the same version replaces the installed one).
fix_table Upgrade 'if ($7 == "OLDERFOUND") $5 = 768'
# A plain immediate set-property action (wixl adds the no-impersonation bit).
fix_table CustomAction 'if ($1 == "SetSaverPath") $2 = 51'
# SETSAVER reaches the installation's server side in managed installs too.
fix_table Property 'if ($1 == "SecureCustomProperties") $2 = $2 ";SETSAVER"'

rows=$(msiinfo export "$stage/package.msi" Component | tr -d '\r')
grep -qF "	4	$choice	" <<<"$rows" || { echo "build-msi: SaverChoice's condition is missing" >&2; exit 1; }
grep -qF "	20	$active	" <<<"$rows" || { echo "build-msi: SaverActive is not permanent" >&2; exit 1; }
msiinfo export "$stage/package.msi" Upgrade | grep -qF "	768		OLDERFOUND" ||
  { echo "build-msi: the upgrade row is not inclusive" >&2; exit 1; }
msiinfo export "$stage/package.msi" CustomAction | grep -qF "SetSaverPath	51	" ||
  { echo "build-msi: SetSaverPath is not type 51" >&2; exit 1; }
msiinfo export "$stage/package.msi" Property | grep -q "^SecureCustomProperties	.*;SETSAVER" ||
  { echo "build-msi: SETSAVER is not a secure property" >&2; exit 1; }
mv "$stage/package.msi" "$out"
