#!/usr/bin/env bash
# Installs the Debian packages the project needs (as root), or prints the command to run.
set -euo pipefail
PACKAGES=(build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libsamplerate0-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  libx11-dev libxtst-dev libcairo2-dev fonts-dejavu-core xvfb x11-utils)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
