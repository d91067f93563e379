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

# A fresh settings key: pattern 1 without random picks on white, black covers over other
# monitors, the other values those of a first run from the saver window, then NAME:VALUE
# changes.
store_settings() { # [NAME:VALUE...]
  reg delete "$key" /f >/dev/null
  local v
  for v in Speed:54 Bright:0 Rosacle:1 Size:52 Segment:8 Background:1 Gray:0 Oval:0 Pictures:0 \
           Rosacle_Random:0 Petals_Random:0 All_Monitors:0 "$@"; do set_dword "${v%%:*}" "${v##*:}"; done
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

# Limits of the waits: generous, since the emulated product computes about 40 times slower
# than native code and a loaded machine stretches every step. A check that something does
# NOT happen watches for a fixed time instead: observe seconds.
appear_limit=180
end_limit=120
observe=3

# The saver under test: started in the background as $pid (Wine's launcher, which ends when
# the program does); its full-screen window found by its caption as $window.
start_saver() { # SAVER ARGS...
  "$WINELOADER" "$@" >/dev/null 2>&1 &
  pid=$!
}
saver_window() { window=$(xdotool search --name '^Form1$' 2>/dev/null | head -n 1); [ -n "$window" ]; }
expect_window() { wait_for "$appear_limit" saver_window || { fail "no saver window"; return 1; }; }
expect_end() { # WHAT
  wait_for "$end_limit" ended || { fail "still running after $1"; kill "$pid" 2>/dev/null; return 1; }
}
expect_running() { # WHAT: still there once the input has had time to act
  sleep "$observe"
  running || fail "ended after $1"
}

# The pointer along a row, slowly enough that the saver sees each step as a move of its own:
# a saver busy with a frame reads the moves made meanwhile as one, so the pace is one step
# per frame of $window (counted over two seconds) and a half, 50 ms at the least.
walk() { # X0 Y X1 [STEP]
  local step=${4:-40} frames pace x
  frames=$(python3 "$root/scripts/frame-rate.py" "$window" 2 0.2 | awk '/^frames/ { n += $2 } END { print n + 0 }')
  pace=$(awk -v n="$frames" 'BEGIN { p = n > 0 ? 3 / n : 3; printf "%.2f", p < 0.05 ? 0.05 : p }')
  for x in $(seq "$1" $(( $3 > $1 ? step : -step )) "$3"); do xdotool mousemove "$x" "$2"; sleep "$pace"; done
}

# Screenshots of the whole screen into $shot (a file per case), and polling one until a
# predicate on it holds: a picture shows with a frame that a slow machine brings late.
shoot() { import -window root "${1:-$shot}"; } # [FILE]
pixel() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; } # X Y of $shot
shoot_until() { # PREDICATE [ARGS...]
  local end=$(( SECONDS + appear_limit ))
  until shoot && "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.2; done
}
# A frame of the rosette is on the screen: the shot has more than the two colours of the
# surface and its black margins.
drawn() { [ "$(convert "$shot" -format %k info:)" -gt 2 ]; }
expect_drawn() { shoot_until drawn || { fail "no rosette drawn"; return 1; }; }

# The Unix process that runs SAVER: the one that owns its window $window (Wine sets the
# window's _NET_WM_PID to it), and it must map SAVER. For a 32-bit program that is not the
# process Wine's launcher started as $pid but one of its own: the 32-bit loader natively,
# qemu-i386 under emulation.
saver_process() { # SAVER
  local p
  p=$(xdotool getwindowpid "$window" 2>/dev/null) || return 1
  grep -qF " $(realpath "$1")" "/proc/$p/maps" 2>/dev/null || return 1
  echo "$p"
}

# Xorg with the dummy driver (xorg-monitors.conf) as $DISPLAY, for the cases of several
# monitors: two RandR outputs on at the start (DUMMY0 and DUMMY1), a third (DUMMY2) for xrandr
# to turn on. Xorg needs a console to leave alone: only inside the chroot's
# private mount namespace (xorg_available).
xorg_pid=
xorg_available() { [ "${ROSACLE_IN_CHROOT:-}" = 1 ] && command -v Xorg >/dev/null; }
xorg_start() {
  local n
  mount --bind /dev/null /dev/tty0
  for n in $(seq 150 190); do [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xorg ":$n" -config "$root/tests/e2e/xorg-monitors.conf" -noreset -nolisten tcp -logfile "/tmp/xorg-$n.log" \
    -novtswitch -sharevts >/dev/null 2>&1 &
  xorg_pid=$!
  export DISPLAY=":$n"
  wait_for 60 xdpyinfo >/dev/null 2>&1 || { echo "Xorg did not start:"; tail -5 "/tmp/xorg-$n.log"; return 1; }
  xrandr --output DUMMY2 --off
}
xorg_stop() { [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null; xorg_pid=; }
