# Sourced by the end-to-end scripts: the private Xvfb and the project's 64-bit Wine prefix,
# failures, the prefix's registry, stored settings, and polling for the program under test
# ($pid).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
wine_prefix_ready || { echo "no Wine prefix"; exit 1; }
key='HKCU\Software\Fractal Rosacle'
failures=0
pid=

fail() { echo "FAIL [$case]: $*"; failures=$((failures + 1)); }
reg() { "$WINELOADER" reg "$@" 2>/dev/null | tr -d '\r'; }
# Run at exit: the cases leave wrong kinds of values behind, and the saver's main job runs in
# this prefix too; without the key it starts as on a first run.
forget_settings() { reg delete "$key" /f >/dev/null; }
trap forget_settings EXIT
set_dword() { reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null; }

# A fresh settings key: pattern 1 without random picks on white, the other values those of a
# first run from the saver window, then NAME:VALUE changes.
store_settings() { # [NAME:VALUE...]
  reg delete "$key" /f >/dev/null
  local v
  for v in Speed:54 Bright:0 Rosacle:1 Size:52 Segment:8 Background:1 Gray:0 Oval:0 Pictures:0 \
           Rosacle_Random:0 Petals_Random:0 "$@"; do set_dword "${v%%:*}" "${v##*:}"; done
  reg add "$key" /v Path_Wall /t REG_SZ /d 'C:\Windows' /f >/dev/null
}

# Starts case NAME (unless E2E_CASES names others) on a fresh Wine server and a fresh
# private screen of the given size.
begin_case() { # NAME SCREEN
  case=$1
  [ -z "${E2E_CASES:-}" ] || [[ " $E2E_CASES " == *" $1 "* ]] || return 1
  wine_server_stop
  xvfb_stop
  xvfb_start "$2" || { fail "no display"; return 1; }
}

wait_for() { # SECONDS COMMAND...: polls until COMMAND succeeds, however long each try takes
  local end=$(( SECONDS + $1 )); shift
  until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done
}
running() { kill -0 "$pid" 2>/dev/null; }
ended() { ! running; }
