#!/usr/bin/env bash
# Pictures of Kestrova and of the gallery under Wine: builds the screenshot programs in a Windows
# build tree, runs them in that tree's Wine prefix (on its Xvfb display) and writes PNGs to
# build/screenshots/.
#   tools/screenshot/screenshot.sh [BUILD_TREE]      (default build/win64; build/win32 is the
#                                                     shipping 32-bit program)
# The run shown last converts through whatever "Word.Application" the prefix knows: after the
# Wine tests have run in that tree, the stand-in server.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
build=$(readlink -f "${1:-$root/build/win64}")
out=$root/build/screenshots
"$root/tests/support/wine-harness.sh" check "$build"
cmake --build "$build" -j2 --target kestrova_screenshot gallery_screenshot >/dev/null
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/[0-9][0-9]-*.png # pictures of an earlier run would mislead
winout="Z:$(echo "$out" | tr / '\\')"
"$root/tests/support/wine-exec.sh" "$build" "$build/bin/kestrova_screenshot.exe" "$winout" \
  2>/dev/null | tr -d '\r'
"$root/tests/support/wine-exec.sh" "$build" "$build/bin/gallery_screenshot.exe" "$winout" \
  2>/dev/null | tr -d '\r'
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
ls "$out"/*.png
