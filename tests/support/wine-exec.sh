#!/usr/bin/env bash
# Runs a Windows program in the build tree's Wine prefix: wine-exec.sh BUILD PROGRAM [ARGS...]
# CTest uses it as the cross-compiling emulator; it also works by hand (it starts the harness
# if nothing has yet).
set -euo pipefail
build=${1:?usage: wine-exec.sh BUILD PROGRAM [ARGS...]}
shift
here=$(dirname "$(readlink -f "$0")")
state=$build/wine
if [ ! -f "$state/prefix.ready" ] || [ ! -f "$state/display" ]; then
  "$here/wine-harness.sh" start "$build" >/dev/null
fi
mapfile -t vars < <("$here/wine-harness.sh" env "$build")
exec env "${vars[@]}" wine "$@"
