#!/usr/bin/env bash
# Installs the Debian packages the project needs (as root), or prints the command to run. Headless: apt asks
# nothing. The Windows builds need both mingw-w64 toolchains, and their runs need 64-bit wine and the
# 32-bit wine of the i386 architecture, which is added first (and qemu-user where the kernel runs no
# 32-bit programs: see i386-emulation.sh).
set -euo pipefail
PACKAGES=(build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libsamplerate0-dev libcairo2-dev pkg-config
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 qemu-user
  lv2-dev liblilv-dev lilv-utils sordi
  libx11-dev libxtst-dev fonts-dejavu-core xvfb xauth x11-utils)
add_i386=no
if [ "$(dpkg --print-architecture)" = amd64 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  add_i386=yes
fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ] && [ $add_i386 = no ]; then
  exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ $add_i386 = yes ]; then dpkg --add-architecture i386; fi
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run as root:" >&2
  if [ $add_i386 = yes ]; then echo "  dpkg --add-architecture i386" >&2; fi
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
