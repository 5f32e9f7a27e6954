#!/usr/bin/env bash
# The application's conversion run through the real server: app_e2e.sh BUILD TEST_EXE SERVER_EXE
# A prefix of its own (BUILD/wordserver-e2e), because the test prefix's "Word.Application" is the
# stand-in Word that the other tests need. There the server takes "Word.Application" as it would
# on a machine without Word (plain /regserver: nothing else holds the ProgID). The main window's
# picture after the run goes to BUILD/screenshots/wordserver-run.png.
set -euo pipefail
build=$(cd "${1:?usage: app_e2e.sh BUILD TEST_EXE SERVER_EXE}" && pwd)
test_exe=${2:?}
server=${3:?}
support=$(dirname "$(readlink -f "$0")")/../../tests/support
tree=$build/wordserver-e2e
mkdir -p "$tree/wine" "$build/screenshots"
cp "$build/wine/arch" "$tree/wine/arch" 2>/dev/null || echo win64 >"$tree/wine/arch"
"$support/wine-harness.sh" check "$tree"
trap '"$support/wine-harness.sh" stop "$tree"' EXIT
"$support/wine-harness.sh" start "$tree" >/dev/null
"$support/wine-exec.sh" "$tree" "$server" /regserver
shot=$build/screenshots/wordserver-run
picture=$(env $("$support/wine-harness.sh" env "$tree" | grep WINEPREFIX) winepath -w "$shot.bmp" 2>/dev/null || echo "Z:${shot//\//\\}.bmp")
rm -f "$shot.bmp"
KESTROVA_WORDSERVER_PICTURE=$picture "$support/wine-exec.sh" "$tree" "$test_exe"
if [ -f "$shot.bmp" ]; then
  convert "$shot.bmp" "$shot.png" && rm -f "$shot.bmp"
  echo "main window after the run: $shot.png"
fi
