#!/usr/bin/env bash
# Pictures of Kestrova under Wine: builds the screenshot program in a win64 build tree, runs it
# in that tree's Wine prefix (on its Xvfb display) and writes PNGs to build/screenshots/.
#   tools/screenshot/screenshot.sh [BUILD_TREE]      (default build/win64)
# The run shown last converts through whatever "Word.Application" the prefix knows: after the
# Wine tests have run in that tree, the stand-in server.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
build=$(readlink -f "${1:-$root/build/win64}")
out=$root/build/screenshots
cmake --build "$build" -j2 --target kestrova_screenshot >/dev/null
mkdir -p "$out"
rm -f "$out"/*.bmp
winout="Z:$(echo "$out" | tr / '\\')"
"$root/tests/support/wine-exec.sh" "$build" "$build/bin/kestrova_screenshot.exe" "$winout" \
  2>/dev/null | tr -d '\r'
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
ls "$out"/*.png
