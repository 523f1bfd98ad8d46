#!/usr/bin/env bash
# usage: scripts/setup.sh   (as root)
# Installs every Debian package that building and testing the plug-in needs.
# Idempotent: packages already present are left alone, and a machine that has
# everything does not touch the network. Made for Debian 12 (bookworm); apt's
# own output shows what is fetched and installed.
#
# A package mirror in the middle of a sync serves an index whose size does not
# match its Release file. The update is tried again (apt's own retries, then a
# few attempts some seconds apart); an index that still fails is named and the
# install goes on with the lists at hand. When the lists at hand disagree (the
# 32-bit list of a suite missing while its 64-bit one is newer, so the two
# architectures' versions no longer match), the install is tried once more from
# the release's own lists, which both architectures have.
. "$(dirname "$0")/help.sh"
set -euo pipefail

packages=(
  cmake ninja-build make
  # clang and its sanitizer and libFuzzer runtimes from the same LLVM
  # release: both unversioned names follow the distribution's default LLVM.
  g++ clang libclang-rt-dev libgtest-dev libgmock-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libwine-dev
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils imagemagick
  wixl msitools osslsigncode zip unzip openssl
  # A real monitoring core that runs the host in its Monitoring Plugins mode,
  # and the language of that test's Graphite listener and record reader.
  icinga2 python3
  # The C compiler's 32-bit target: the Icinga test preloads a library into
  # the 32-bit Wine loader.
  gcc-multilib
)

# Seconds between two attempts at the update; the tests set it to 0.
retry_seconds=${QUARNEL_SETUP_RETRY_SECONDS:-10}
readonly update_attempts=3

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

# apt-get update, its failed indexes written to $1 as "URL  REASON" lines.
update_indexes() {
  local failures=$1 output status
  output=$(mktemp)
  set +e
  apt-get -o Acquire::Retries=3 update 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  set -e
  # An index that apt gives up on is an error ("E:"), or a warning ("W:")
  # when apt goes on with the old list; either way its line names it.
  sed -n 's/^[EW]: Failed to fetch \(.*\)$/\1/p' "$output" >"$failures"
  rm -f "$output"
  [ "$status" -eq 0 ] && [ ! -s "$failures" ]
}

failed_indexes=$(mktemp)
trap 'rm -f "$failed_indexes"' EXIT
indexes_complete=false
for attempt in $(seq 1 $update_attempts); do
  if update_indexes "$failed_indexes"; then
    indexes_complete=true
    break
  fi
  if [ "$attempt" -lt $update_attempts ]; then
    echo "setup: the package index update failed (attempt $attempt of $update_attempts); trying again in ${retry_seconds}s" >&2
    sleep "$retry_seconds"
  fi
done
if ! $indexes_complete; then
  while IFS= read -r failure; do
    echo "setup: the package index could not be updated, going on with the lists at hand: $failure" >&2
  done <"$failed_indexes"
  [ -s "$failed_indexes" ] ||
    echo "setup: the package index update failed, going on with the lists at hand" >&2
fi

install_missing() { apt-get install -y --no-install-recommends "$@" "${missing[@]}"; }

install_missing && exit 0
status=$?
if ! $indexes_complete; then
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -n "$release" ]; then
    echo "setup: trying the install again from the $release release's own lists" >&2
    install_missing -t "$release" && exit 0
    status=$?
  fi
  echo "setup: the install failed: the package mirror looked inconsistent (an index did not update); try again later" >&2
fi
exit "$status"
