#!/usr/bin/env bash
# The tests of one Windows build (its unit tests and every end-to-end script) under Wine on a
# private display. Runs inside the chroot: scripts/chroot.sh run bash scripts/windows-tests.sh DIR
# [CTEST-ARGS...] (e.g. -R monitors_e2e for one test).
set -u
build=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
[ "${ROSACLE_IN_CHROOT:-}" = 1 ] || { echo "windows-tests: run me through scripts/chroot.sh run" >&2; exit 2; }
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
xvfb_start 1024x768x24 || exit 1
trap 'wine_server_stop; xvfb_stop' EXIT
wine_prefix_ready || { echo "windows-tests: no Wine prefix at $WINEPREFIX" >&2; exit 1; }
echo "windows-tests: $(wine --version 2>/dev/null || "$WINELOADER" --version), prefix $WINEPREFIX ($WINEARCH)"
ctest --test-dir "$build" --output-on-failure -j 1 "$@"
