#!/usr/bin/env bash
# Installs the Debian packages the suite needs. Quiet and quick when all are there.
set -euo pipefail
packages=(cmake g++ ninja-build mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine wine64 xvfb xauth xdotool imagemagick x11-apps googletest
          libbenchmark-dev fonts-dejavu-core fonts-dejavu-extra python3 python3-pil file
          wixl msitools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
