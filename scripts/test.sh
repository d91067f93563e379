#!/usr/bin/env bash
# Every test of every build: installs what is missing, builds the native and the Windows
# builds, starts a private X display and Wine prefix, runs the tests and stops what it started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh

jobs=$(nproc)
build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs" 2>&1 | grep -v '^\[' || true
  cmake --build --preset "$1" -j "$jobs" >/dev/null # fails the run if the build failed
}

status=0
echo "== native build and tests"
build native
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

echo "== sanitized build (clang, AddressSanitizer + UndefinedBehaviorSanitizer): native tests, short soak, fuzzers"
build sanitize
ctest --preset sanitize -j "$jobs" || status=1

echo "== Windows builds"
build win32
build win64
bash scripts/check-pe.sh build/win32 || status=1

# A private display for everything that runs under Wine.
source scripts/xvfb.sh
xvfb_start 1024x768x24
trap 'xvfb_stop; for b in 32 64; do (source scripts/wine-env.sh $b; "$WINESERVER" -k 2>/dev/null || true); done' EXIT

for bits in 32 64; do
  (
    source scripts/wine-env.sh $bits
    if ! wine_usable; then
      echo "== win$bits: this machine cannot execute $bits-bit code; its tests run in the other Windows build"
      exit 0
    fi
    echo "== win$bits tests under Wine"
    wine_prefix_ready
    ctest --test-dir build/win$bits --output-on-failure -j 1
    rc=$?
    "$WINESERVER" -w || true
    exit $rc
  ) || status=1
done

if [ "$status" = 0 ]; then echo "== all tests passed"; else echo "== some tests FAILED"; fi
exit $status
