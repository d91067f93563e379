#!/usr/bin/env bash
# Runs one case of hack_test.py on a private Xvfb screen: run-with-xvfb.sh SCREEN CASE.
# Exit status 77 (a skip for ctest) when the machine has no Xvfb or no screenshot tool.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
screen=$1
shift
for tool in Xvfb xdpyinfo import xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
    exit 77
  fi
done
source "$here/../../scripts/xvfb.sh"
xvfb_start "$screen"
trap xvfb_stop EXIT
"${PYTHON:-python3}" "$here/hack_test.py" "$@"
