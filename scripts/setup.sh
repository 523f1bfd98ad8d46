#!/usr/bin/env bash
# Installs every Debian package that building and testing the plug-in needs.
# Idempotent: packages already present are left alone, and a machine that has
# everything does not touch the network.
set -euo pipefail

packages=(
  cmake ninja-build make
  g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev
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

echo "setup: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
