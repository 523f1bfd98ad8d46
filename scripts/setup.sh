#!/usr/bin/env bash
# Installs every Debian package that building and testing the plug-in needs.
# Idempotent: packages already present are left alone, and a machine that has
# everything does not touch the network. Made for Debian 12 (bookworm); apt's
# own output shows what is fetched and installed.
set -euo pipefail

packages=(
  cmake ninja-build make
  # clang and its sanitizer and libFuzzer runtimes from the same LLVM
  # release: both unversioned names follow the distribution's default LLVM.
  g++ clang libclang-rt-dev libgtest-dev libgmock-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  libwine-dev
  wine wine32:i386 fonts-wine
  xvfb xauth x11-utils imagemagick
  wixl msitools osslsigncode zip unzip openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: installing packages needs root: run this again as root, or install them with sudo apt-get" >&2
  exit 1
fi
echo "setup: Wine and the cross compiler are large: the first installation takes a few minutes"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture for the 32-bit Wine"
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
