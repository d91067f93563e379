# Sourced on the host after `chroot.sh ensure`: makes the chroot's 32-bit Wine runnable.
# Where the kernel executes i386 code, it runs natively. Where it refuses (or when
# ROSACLE_EMULATE_32_BIT=1 asks for it, to try that path on a machine that runs it natively),
# the chroot's static qemu-i386 is registered with binfmt_misc for i386 ELF files under a name
# of the project's own, with flag F (the kernel opens the emulator at registration, so it also
# serves inside the chroot); binfmt_misc comes before the kernel's own ELF loader. Other
# registrations are never touched; ours is removed by i386_release.
#
#   i386_ready      sets I386_WAY to "natively" or "emulated by qemu-i386" and returns 0,
#                   or sets I386_WHY_NOT and returns 1
#   i386_release    removes the registration (and the binfmt_misc mount) i386_ready made
: "${root:?}"
binfmt=/proc/sys/fs/binfmt_misc
i386_name=rosacle-i386-$$
i386_mounted=
I386_WAY= I386_WHY_NOT=

# The ELF header of an i386 executable and the bits of it that matter, as binfmt_misc reads them.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# An enabled registration of anybody's that takes i386 executables.
i386_emulator_registered() {
  local f
  for f in "$binfmt"/*; do
    [ -f "$f" ] && grep -qx enabled "$f" 2>/dev/null && grep -q '^magic 7f454c460101010000000000000000000200' "$f" 2>/dev/null &&
      return 0
  done
  return 1
}

i386_other_run_registered() { ls "$binfmt" 2>/dev/null | grep -q '^rosacle-i386-'; }

# Registrations of earlier runs that were killed before they could remove theirs.
i386_forget_stale() {
  local f n
  for f in "$binfmt"/rosacle-i386-*; do
    [ -e "$f" ] || continue
    n=${f##*-}
    kill -0 "$n" 2>/dev/null || echo -1 >"$f" 2>/dev/null || true
  done
}

i386_register() {
  local qemu=${ROSACLE_CHROOT:-$root/build/chroot}/root/usr/bin/qemu-i386
  [ -x "$qemu" ] || { I386_WHY_NOT="the chroot has no $qemu"; return 1; }
  [ "$(id -u)" = 0 ] || { I386_WHY_NOT="registering an emulator needs root"; return 1; }
  if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null && i386_mounted=1 ||
      { I386_WHY_NOT="binfmt_misc cannot be mounted at $binfmt"; return 1; }
  fi
  printf ':%s:M::%s:%s:%s:F\n' "$i386_name" "$i386_magic" "$i386_mask" "$qemu" >"$binfmt/register" 2>/dev/null ||
    { I386_WHY_NOT="binfmt_misc refused the registration of $qemu"; i386_release; return 1; }
}

i386_release() {
  [ -e "$binfmt/$i386_name" ] && echo -1 >"$binfmt/$i386_name" 2>/dev/null
  if [ -n "$i386_mounted" ] && ! ls "$binfmt" | grep -qv '^register$\|^status$'; then
    umount "$binfmt" 2>/dev/null
  fi
  i386_mounted=
  return 0
}

i386_ready() {
  i386_forget_stale
  # Another run's registration would serve only until that run ends: this run takes its own.
  if [ "${ROSACLE_EMULATE_32_BIT:-}" != 1 ] && ! i386_other_run_registered && bash "$root/scripts/chroot.sh" runs-32-bit; then
    if i386_emulator_registered; then I386_WAY="emulated by an i386 emulator registered outside this project"
    else I386_WAY=natively; fi
    return 0
  fi
  i386_register || return 1
  if bash "$root/scripts/chroot.sh" runs-32-bit; then
    I386_WAY="emulated by qemu-i386"
    return 0
  fi
  I386_WHY_NOT="the chroot's 32-bit Wine does not start under qemu-i386 either"
  i386_release
  return 1
}
