#!/usr/bin/env bash
# Runs a Windows program in the build tree's Wine prefix: wine-exec.sh BUILD PROGRAM [ARGS...]
# CTest uses it as the cross-compiling emulator; it also works by hand (it starts the harness
# if nothing has yet). Exits 77 (CTest's "skipped") with the reason when this machine cannot run
# the tree's programs, for one a 32-bit tree where 32-bit Wine cannot run.
set -euo pipefail
build=${1:?usage: wine-exec.sh BUILD PROGRAM [ARGS...]}
shift
here=$(dirname "$(readlink -f "$0")")
"$here/wine-harness.sh" check "$build"
"$here/wine-harness.sh" ready "$build" || "$here/wine-harness.sh" start "$build" >/dev/null
mapfile -t vars < <("$here/wine-harness.sh" env "$build")
for v in "${vars[@]}"; do
  case $v in WINELOADER=*) loader=${v#WINELOADER=} ;; esac
done
exec env "${vars[@]}" "$loader" "$@"
