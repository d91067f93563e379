#!/usr/bin/env bash
# The place where the Windows programs run: a Debian 13 chroot under build/ with Wine 10
# (32- and 64-bit, so a win64 prefix runs the 32-bit product as 64-bit Windows does), Xvfb,
# Xorg's dummy driver, xdotool and ImageMagick. The host keeps its own architecture alone.
#
#   chroot.sh ensure             make the chroot once; again when its recipe below changes
#   chroot.sh run [--host-display] COMMAND...
#                                run COMMAND inside it, in private mount and network
#                                namespaces (nothing stays mounted; X servers of two runs never
#                                meet) with the checkout at the same path; with --host-display
#                                the host's network and X sockets are shared instead
#   chroot.sh runs-32-bit        exit 0 when this kernel executes the chroot's 32-bit Wine
#
# ROSACLE_CHROOT overrides the folder (default build/chroot).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${ROSACLE_CHROOT:-$root/build/chroot}
source "$root/scripts/apt-lib.sh"

suite=trixie
packages=(wine wine64 wine32:i386 xvfb xauth xdotool imagemagick x11-utils x11-xserver-utils
  xserver-xorg-core xserver-xorg-video-dummy fonts-dejavu-core fonts-wine cmake python3
  procps file libxdamage1 qemu-user)
# Any change here (or to the packages) makes a new chroot.
recipe="suite=$suite variant=minbase arch=i386 updates=yes packages=${packages[*]} v1"

# The Debian mirror the host already uses: the first non-security entry of its apt sources.
host_mirror() {
  local uri
  uri=$(grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' |
        grep -v security | grep -i debian | head -n 1 || true)
  [ -n "$uri" ] || uri=$(grep -hs '^deb ' /etc/apt/sources.list | awk '{print $2}' |
        grep -v security | grep -i debian | head -n 1 || true)
  [ -n "$uri" ] || { echo "chroot: no Debian mirror in the host's apt sources" >&2; return 1; }
  echo "${uri%/}"
}

# Runs COMMAND in the chroot at ROOTFS with private mounts and a clean PATH. MODE: net (the
# host's network, for apt), private (no network at all), display (the host's network and X).
enter() { # ROOTFS MODE COMMAND...
  local rootfs=$1 mode=$2 isolate=(); shift 2
  [ "$mode" = private ] && isolate=(-n)
  unshare -m "${isolate[@]}" --propagation private bash -s "$rootfs" "$root" "$mode" "$@" <<'EOF'
set -e
rootfs=$1 checkout=$2 mode=$3; shift 3
mount --rbind /dev "$rootfs/dev"
mount -t proc proc "$rootfs/proc"
mount -t sysfs sysfs "$rootfs/sys" 2>/dev/null || true
mount -t tmpfs tmpfs "$rootfs/tmp"
mkdir -p "$rootfs$checkout"
mount --bind "$checkout" "$rootfs$checkout"
if [ "$mode" = display ] && [ -d /tmp/.X11-unix ]; then
  mkdir -p "$rootfs/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$rootfs/tmp/.X11-unix"
  if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
    cp "$XAUTHORITY" "$rootfs/tmp/.Xauthority"; export XAUTHORITY=/tmp/.Xauthority
  fi
fi
cp /etc/resolv.conf "$rootfs/etc/resolv.conf" 2>/dev/null || true
unset LD_LIBRARY_PATH LD_PRELOAD PYTHONPATH PYTHONHOME
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root ROSACLE_IN_CHROOT=1
exec chroot "$rootfs" /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "$@"
EOF
}

build() {
  local mirror new="$dir.new"
  mirror=$(host_mirror)
  echo "chroot: making a Debian $suite chroot with Wine in $dir (a few minutes, about 2.4 GB)"
  rm -rf "$new"
  mkdir -p "$new"
  local try
  for try in 1 2 3; do
    debootstrap --variant=minbase "$suite" "$new/root" "$mirror" >"$new/debootstrap.log" 2>&1 && break
    [ "$try" = 3 ] && { echo "chroot: debootstrap failed, see $new/debootstrap.log:" >&2;
                        tail -n 3 "$new/debootstrap.log" >&2; exit 1; }
    rm -rf "$new/root"; sleep $((try * 10))
  done
  # trixie and its updates only: the security suite's i386 index is the one seen half-synced.
  printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$suite" "$mirror" "$suite" \
    >"$new/root/etc/apt/sources.list"
  printf '#!/bin/sh\nexit 101\n' >"$new/root/usr/sbin/policy-rc.d"; chmod +x "$new/root/usr/sbin/policy-rc.d"
  printf 'APT::Install-Recommends "false";\nAcquire::Retries "3";\n' >"$new/root/etc/apt/apt.conf.d/90rosacle"
  enter "$new/root" net dpkg --add-architecture i386
  apt_update enter "$new/root" net
  apt_install enter "$new/root" net -- "${packages[@]}"
  enter "$new/root" net apt-get clean
  echo "$recipe" >"$new/recipe"
  rm -rf "$dir"
  mv "$new" "$dir"
  echo "chroot: ready ($(du -sh "$dir" | cut -f1))"
}

ensure() {
  if [ -f "$dir/recipe" ] && [ "$(cat "$dir/recipe")" = "$recipe" ]; then return 0; fi
  build
}

case "${1:-}" in
  ensure) ensure ;;
  run)
    shift
    mode=private
    if [ "${1:-}" = --host-display ]; then mode=display; shift; fi
    [ -f "$dir/recipe" ] || { echo "chroot: none at $dir (run: chroot.sh ensure)" >&2; exit 1; }
    enter "$dir/root" "$mode" "$@" ;;
  runs-32-bit)
    [ -f "$dir/recipe" ] || exit 1
    enter "$dir/root" private bash -c 'source "$0/scripts/wine-env.sh" && wine_runs_32_bit' "$root" ;;
  *) echo "usage: chroot.sh ensure | run [--host-display] COMMAND... | runs-32-bit" >&2; exit 2 ;;
esac
