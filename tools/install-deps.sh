#!/bin/bash
# Installs the Debian packages that the build and the tests need; does nothing when all are there.
set -euo pipefail

packages=(
  cmake make g++ python3 libgtest-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine xvfb xauth fonts-ipafont-gothic imagemagick x11-utils xdotool
  clang libclang-rt-14-dev valgrind time
)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo dpkg --add-architecture i386
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
