#!/usr/bin/env bash
# Makes sure the Debian packages the build needs are installed: as root it installs what is
# missing, otherwise it prints the apt-get line and fails.
#
# wine32 (the i386 loader that runs the shipping 32-bit build) is wanted but not required: its
# i386 index has been seen out of step with the amd64 one. When it cannot be had, everything else
# still builds and runs, and the 32-bit Wine tests report themselves as not run.
set -euo pipefail

# fonts-arphic-uming is the Song face of the Wine prefixes; fp-utils brings chmcmd and chmls,
# which compile and list the help file; LibreOffice Writer and its UNO bridge convert for the
# Word server.
packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth cmake ninja-build
  googletest libbenchmark-dev fonts-wqy-zenhei fonts-arphic-uming imagemagick clang
  libclang-rt-14-dev locales fp-utils libreoffice-writer-nogui python3-uno python3-docx)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
have_wine32() { installed wine32:i386; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] && have_wine32 && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "deps: wine32 is not installed; the 32-bit Wine tests will not run. To run them:" >&2
  echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y wine32" >&2
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The 32-bit loader. A failed attempt is retried once after a fresh index, then given up quietly.
have_wine32 && exit 0
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
for attempt in 1 2; do
  apt-get update -qq || true
  if apt-get install -y -qq wine32:i386 >/dev/null 2>&1; then
    echo "Installed wine32"
    exit 0
  fi
  [ "$attempt" -eq 1 ] && echo "deps: wine32 could not be installed; retrying after a fresh index" >&2
done
echo "deps: wine32 is not available; the 32-bit Wine tests will be reported as not run" >&2
exit 0
