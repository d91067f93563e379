# Sourced: apt-get that survives a package server having a bad moment. An update whose
# index fails (a mirror caught mid-sync) is tried a few times and then accepted, since the
# lists it did read usually still hold every package; an install that fails names each
# package that cannot be had and why, and stops the caller.
# Each function takes the command prefix to run apt with (e.g. as_root, or a chroot entry).

apt_update() { # PREFIX...
  local try out
  for try in 1 2 3 4; do
    if out=$("$@" apt-get update -qq 2>&1); then return 0; fi
    sleep $((try * ${APT_RETRY_SECONDS:-5}))
  done
  echo "apt: the package index could not be read completely; going on with what was read:" >&2
  grep -E '^(E|W):' <<<"$out" | head -n 5 >&2
  return 0
}

apt_install() { # PREFIX... -- PACKAGE...   (or PREFIX without -- when it is one word)
  local prefix=() p
  if [[ " $* " == *" -- "* ]]; then
    while [ "$1" != -- ]; do prefix+=("$1"); shift; done; shift
  else
    prefix=("$1"); shift
  fi
  local try out
  for try in 1 2 3; do
    out=$(DEBIAN_FRONTEND=noninteractive "${prefix[@]}" apt-get install -y -qq --no-install-recommends "$@" 2>&1) && return 0
    sleep $((try * ${APT_RETRY_SECONDS:-3}))
    apt_update "${prefix[@]}"
  done
  # Name what cannot be installed, one line each, from a dry run of each package alone.
  local named=0 why
  for p in "$@"; do
    why=$(DEBIAN_FRONTEND=noninteractive "${prefix[@]}" apt-get install -s -qq --no-install-recommends "$p" 2>&1 >/dev/null |
          grep -E '^E:|Depends:' | head -n 1 | sed 's/^E: //; s/^ *//')
    if [ -n "$why" ]; then echo "apt: cannot install $p: $why" >&2; named=1; fi
  done
  [ "$named" = 1 ] || echo "apt: cannot install $*: $(grep -E '^E:' <<<"$out" | head -n 1 | sed 's/^E: //')" >&2
  exit 1
}
