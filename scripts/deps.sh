#!/usr/bin/env bash
# Makes sure the Debian packages the build needs are installed: as root it installs what is
# missing, otherwise it prints the apt-get line and fails.
set -euo pipefail

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth cmake ninja-build
  googletest libbenchmark-dev fonts-wqy-zenhei imagemagick clang libclang-rt-14-dev locales)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
