#!/usr/bin/env bash
# 32-bit x86 programs on a kernel built without 32-bit support: `on` makes the kernel hand every 32-bit
# x86 executable to qemu-i386 (a binfmt_misc entry named quenvale-i386), unless 32-bit programs already
# run; `off` removes that entry again. The test script uses it to run the 32-bit wine loader, and with it
# the 32-bit Windows plug-in, where the processor could but the kernel will not. Needs root and the
# qemu-user package; prints how 32-bit programs run ("native" or "emulated"), or why they cannot.
#   scripts/i386-emulation.sh on|off
set -euo pipefail
binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/quenvale-i386
probe=/usr/lib/wine/wine  # any 32-bit executable that prints and exits; this one is what the tests need

case "${1:-}" in
  on)
    if [ -e "$entry" ]; then echo "emulated"; exit 0; fi
    if "$probe" --version >/dev/null 2>&1; then echo "native"; exit 0; fi
    if [ ! -x "$probe" ]; then echo "$probe is not installed" >&2; exit 1; fi
    if [ ! -x /usr/bin/qemu-i386 ]; then echo "qemu-i386 is not installed (package qemu-user)" >&2; exit 1; fi
    if [ "$(id -u)" -ne 0 ]; then echo "registering an interpreter for 32-bit programs needs root" >&2; exit 1; fi
    if [ ! -e $binfmt/register ]; then
      mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null \
        || { echo "this kernel offers no binfmt_misc to register qemu-i386 with" >&2; exit 1; }
    fi
    # The ELF header of a 32-bit x86 executable or shared object; F: the kernel opens qemu-i386 now.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":quenvale-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" >$binfmt/register \
      || { echo "the kernel refused the qemu-i386 entry" >&2; exit 1; }
    if ! "$probe" --version >/dev/null 2>&1; then
      echo -1 >"$entry"
      echo "$probe does not run under qemu-i386" >&2
      exit 1
    fi
    echo "emulated"
    ;;
  off)
    if [ -e "$entry" ]; then echo -1 >"$entry"; fi
    ;;
  *)
    echo "usage: $0 on|off" >&2
    exit 2
    ;;
esac
