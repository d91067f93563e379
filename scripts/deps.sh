#!/usr/bin/env bash
# Installs what the host builds need on a Debian machine (as root) and cross-builds the
# Windows libraries into build/deps. Whatever is already present is skipped, so a second
# run takes seconds. Wine is not installed here: the Windows programs run in the chroot
# that scripts/chroot.sh makes (the host never gets the i386 architecture).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="${ROSACLE_DEPS:-$root/build/deps}"
mkdir -p "$deps"

packages=(cmake ninja-build g++ pkg-config dpkg-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  xvfb x11-utils imagemagick xdotool xscreensaver debootstrap wixl msitools
  libjpeg62-turbo-dev libpng-dev googletest libgtest-dev libcli11-dev
  libx11-dev libxext-dev clang libclang-rt-14-dev valgrind python3 file)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
source "$root/scripts/apt-lib.sh"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  apt_update as_root
  apt_install as_root "${missing[@]}"
fi

# Source entries for apt-get source, derived from the machine's own binary entries.
add_source_entries() {
  local out=/etc/apt/sources.list.d/rosacle-deb-src.sources
  local list=/etc/apt/sources.list.d/rosacle-deb-src.list
  [ -e "$out" ] || [ -e "$list" ] && return 0
  local changed=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    grep -q '^Types:.*deb-src' "$f" && return 0
    grep -qi 'debian' "$f" || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f" | as_root tee -a "$out" >/dev/null
    echo | as_root tee -a "$out" >/dev/null
    changed=1
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -q '^deb-src ' /etc/apt/sources.list && return 0
    if grep -q '^deb ' /etc/apt/sources.list; then
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee "$list" >/dev/null
      changed=1
    fi
  fi
  [ "$changed" = 1 ] && apt_update as_root
  return 0
}

# libjpeg-turbo (from Debian's source package), GoogleTest (from the packaged sources) and
# the CLI11 headers, for each Windows target: i686 is the product, x86_64 its twin that
# 64-bit Wine can run.
build_windows_libraries() {
  local arch=$1 toolchain=$2 prefix=$3
  if [ ! -f "$prefix/lib/libjpeg.a" ]; then
    add_source_entries
    local src="$deps/src"
    mkdir -p "$src"
    if ! ls -d "$src"/libjpeg-turbo-*/ >/dev/null 2>&1; then
      (cd "$src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
    fi
    local jsrc
    jsrc=$(ls -d "$src"/libjpeg-turbo-*/ | head -n 1)
    cmake -S "$jsrc" -B "$deps/libjpeg-$arch" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >/dev/null
    cmake --build "$deps/libjpeg-$arch" --target jpeg-static >/dev/null
    mkdir -p "$prefix/lib" "$prefix/include"
    cp "$deps/libjpeg-$arch/libjpeg.a" "$prefix/lib/libjpeg.a"
    cp "$jsrc/jpeglib.h" "$jsrc/jmorecfg.h" "$jsrc/jerror.h" "$deps/libjpeg-$arch/jconfig.h" "$prefix/include/"
    echo "deps: libjpeg-turbo built for $arch"
  fi
  if [ ! -f "$prefix/lib/libgtest.a" ]; then
    cmake -S /usr/src/googletest -B "$deps/gtest-$arch" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF >/dev/null
    cmake --build "$deps/gtest-$arch" >/dev/null
    cmake --install "$deps/gtest-$arch" >/dev/null
    echo "deps: googletest built for $arch"
  fi
  if [ ! -f "$prefix/include/CLI/CLI.hpp" ]; then
    mkdir -p "$prefix/include"
    cp -r /usr/include/CLI "$prefix/include/"
  fi
}

build_windows_libraries i686 "$root/cmake/mingw-i686.cmake" "$deps/win32"
build_windows_libraries x86_64 "$root/cmake/mingw-x86_64.cmake" "$deps/win64"
echo "deps: ready"
