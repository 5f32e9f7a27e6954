#!/usr/bin/env bash
# The Wine test harness, kept inside one build tree:
#   wine-harness.sh start BUILD   prefix (created once), display, persistent wineserver
#   wine-harness.sh stop BUILD    stops the wineserver and any Xvfb that start launched
#   wine-harness.sh env BUILD     prints the environment for running a program in the prefix
# start is idempotent and cheap once the prefix exists.
set -euo pipefail

cmd=${1:?usage: wine-harness.sh start|stop|env BUILD}
build=$(cd "${2:?usage: wine-harness.sh start|stop|env BUILD}" && pwd)
state=$build/wine
mkdir -p "$state"

# The environment of every Wine process of the test run. The locale goes only to Wine (through
# env), never to this shell, which would complain that the system lacks it.
wine_env=(
  "WINEPREFIX=$state/prefix"
  WINEDEBUG=-all
  WINEARCH=win64
  # No Mono or Gecko installers: the tests need neither, and their prompts would block.
  "WINEDLLOVERRIDES=mscoree,mshtml="
  # Code page 936 needs a zh_CN locale; a generated copy in the build tree keeps Wine's Unix side
  # from falling back to ASCII for non-ASCII file names.
  LC_ALL=zh_CN.UTF-8
  "LOCPATH=$state/locale"
)
in_wine() { env "${wine_env[@]}" "$@"; }
LOCPATH=$state/locale
WINEPREFIX=$state/prefix

ensure_locale() {
  [ -d "$LOCPATH/zh_CN.UTF-8" ] && return
  mkdir -p "$LOCPATH"
  # localedef exits 1 for mere warnings; the directory tells whether it worked.
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || true
  [ -d "$LOCPATH/zh_CN.UTF-8" ] || { echo "wine-harness: localedef zh_CN.UTF-8 failed" >&2; exit 1; }
}

ensure_display() {
  if [ -n "${DISPLAY:-}" ] && [ ! -f "$state/xvfb.pid" ]; then
    echo "$DISPLAY" >"$state/display"
    return
  fi
  if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    return
  fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  [ -S "/tmp/.X11-unix/X$n" ] || { echo "wine-harness: Xvfb :$n did not start" >&2; exit 1; }
  echo ":$n" >"$state/display"
}

ensure_prefix() {
  [ -f "$state/prefix.ready" ] && return
  rm -rf "$WINEPREFIX"
  in_wine wineboot -i >"$state/wineboot.log" 2>&1
  in_wine wineserver -w
  # Wine, not a window manager, owns the frames, so non-client painting reaches the screen;
  # unmanaged windows close at once instead of waiting for a window manager that never answers.
  local key='HKCU\Software\Wine\X11 Driver'
  in_wine wine reg add "$key" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  in_wine wine reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  in_wine wineserver -w
  touch "$state/prefix.ready"
}

case $cmd in
start)
  ensure_locale
  ensure_display
  ensure_prefix
  # One persistent wineserver for the whole run: each test then starts in a fraction of a second.
  # Wine's own background processes (services, device host, desktop) start with the first
  # program and live as long as the server; start them here, away from the test runner's pipes,
  # or the runner would wait on them after every test.
  # A server left from a manual wine-exec.sh run would go away on its own later: replace it.
  in_wine wineserver -k 2>/dev/null || true
  in_wine wineserver -w 2>/dev/null || true
  setsid env "${wine_env[@]}" wineserver -p >/dev/null 2>&1 </dev/null
  DISPLAY=$(cat "$state/display") in_wine wine cmd /c exit >/dev/null 2>&1 </dev/null
  echo "wine harness ready: prefix $WINEPREFIX, display $(cat "$state/display")"
  ;;
stop)
  in_wine wineserver -k 2>/dev/null || true
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid"
  fi
  rm -f "$state/display"
  ;;
env)
  # One NAME=VALUE per line, for env(1).
  printf '%s\n' "${wine_env[@]}"
  [ -f "$state/display" ] && echo "DISPLAY=$(cat "$state/display")"
  ;;
*)
  echo "usage: wine-harness.sh start|stop|env BUILD" >&2
  exit 2
  ;;
esac
