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
bash scripts/check-pe.sh build/win32 || status=1

# The Windows tests run the 32-bit product in the chroot's Wine 10: natively where this kernel
# executes 32-bit code, else emulated by the chroot's qemu-i386; only where neither can be had,
# its 64-bit twin. The last line says which.
bash scripts/chroot.sh ensure
source scripts/i386.sh
trap i386_release EXIT
if i386_ready; then
  tested=win32
  closing="the Windows tests ran the 32-bit product (build/win32) under the chroot's Wine 10, WoW64 prefix; its 32-bit code ran $I386_WAY"
else
  build win64
  tested=win64
  closing="the 32-bit product cannot run here ($I386_WHY_NOT): the Windows tests ran the 64-bit twin (build/win64) under the chroot's Wine 10"
fi
echo "== $tested tests under Wine"
bash scripts/chroot.sh run bash scripts/windows-tests.sh "build/$tested" || status=1

if [ "$status" = 0 ]; then echo "== all tests passed"; else echo "== some tests FAILED"; fi
echo "== $closing"
exit $status
