#!/usr/bin/env bash
# The set-up's apt wrapper against an apt-get that fails the way package servers do: an index
# that never reads completely, and a package that cannot be had.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/apt-lib.sh"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
failures=0
fail() { echo "FAIL [$case]: $*"; failures=$((failures + 1)); }

# update: fails while FAKE_UPDATE=fail; install: "missing-*" cannot be located, the rest installs.
cat >"$fake/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "$*" >>"$FAKE_LOG"
if [ "$1" = update ]; then
  [ "$FAKE_UPDATE" = ok ] && exit 0
  echo "E: Failed to fetch .../i386/Packages.xz  File has unexpected size. Mirror sync in progress?" >&2
  exit 100
fi
for p in "$@"; do
  case "$p" in missing-*) echo "E: Unable to locate package $p" >&2; exit 100 ;; esac
done
exit 0
FAKE
chmod +x "$fake/apt-get"
export PATH="$fake:$PATH" FAKE_LOG="$fake/log" APT_RETRY_SECONDS=0
run() { : >"$FAKE_LOG"; ( "$@" ) 2>"$fake/err"; }

case="broken index accepted"
FAKE_UPDATE=fail run apt_update env || fail "exit $?"
[ "$(grep -c '^update' "$FAKE_LOG")" -ge 3 ] || fail "not retried: $(cat "$FAKE_LOG")"
grep -q 'Mirror sync' "$fake/err" || fail "the index error is not shown: $(cat "$fake/err")"

case="packages install after a broken index"
FAKE_UPDATE=fail run apt_install env -- wine xvfb || fail "exit $?"
[ ! -s "$fake/err" ] || fail "unexpected complaint: $(cat "$fake/err")"

case="a missing package stops the caller, named with its reason"
FAKE_UPDATE=ok run apt_install env -- xvfb missing-wine32 xdotool
status=$?
[ "$status" = 1 ] || fail "exit $status"
[ "$(cat "$fake/err")" = "apt: cannot install missing-wine32: Unable to locate package missing-wine32" ] ||
  fail "complaint: $(cat "$fake/err")"

case="one-word prefix"
FAKE_UPDATE=ok run apt_install env xvfb || fail "exit $?"
grep -q '^install -y -qq --no-install-recommends xvfb$' "$FAKE_LOG" || fail "ran: $(cat "$FAKE_LOG")"

[ "$failures" = 0 ] && echo "apt-lib: all passed"
exit $((failures > 0))
