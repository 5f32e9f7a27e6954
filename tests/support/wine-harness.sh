#!/usr/bin/env bash
# The Wine test harness, kept inside one build tree:
#   wine-harness.sh start BUILD   prefix (created once), display, persistent wineserver
#   wine-harness.sh stop BUILD    stops the wineserver and any Xvfb that start launched
#   wine-harness.sh env BUILD     prints the environment for running a program in the prefix
#   wine-harness.sh ready BUILD   exits 0 when the prefix is current and a display is set up
#   wine-harness.sh check BUILD   exits 0 when this machine can run the tree's programs, else
#                                 prints why and exits 77 (CTest's "skipped")
# start is idempotent and cheap once the prefix exists.
#
# Each build tree has a prefix of its own: win64 trees a 64-bit prefix run by the 64-bit loader,
# win32 trees a pure 32-bit prefix (WINEARCH=win32), which is the system the shipping program
# meets on a 32-bit Windows: no WOW64 registry views or redirected folders between the program
# and what it registers and reads. The loader is called directly, never through the wine
# wrapper: the wrapper prefers the 32-bit loader whenever it is installed, even on a machine that
# cannot execute 32-bit programs, and even for 64-bit ones.
set -euo pipefail

cmd=${1:?usage: wine-harness.sh start|stop|env|ready|check BUILD}
build=$(cd "${2:?usage: wine-harness.sh start|stop|env|ready|check BUILD}" && pwd)
state=$build/wine
mkdir -p "$state"

skipped=77
wine_dir=/usr/lib/wine
# The CMake configure step records the tree's bitness; a tree without it is a 64-bit one.
arch=$(cat "$state/arch" 2>/dev/null || echo win64)
if [ "$arch" = win32 ]; then loader=$wine_dir/wine; else loader=$wine_dir/wine64; fi

# Why this tree's programs cannot run here, or nothing when they can.
why_not_runnable() {
  if [ ! -x "$loader" ]; then
    if [ "$arch" = win32 ]; then
      echo "32-bit Wine (wine32) is not installed"
    else
      echo "64-bit Wine (wine64) is not installed"
    fi
  elif ! "$loader" --version >/dev/null 2>&1; then
    echo "this machine cannot execute the $arch Wine loader (for 32-bit: the kernel's 32-bit emulation is off, see dmesg)"
  fi
}

require_runnable() {
  local why
  why=$(why_not_runnable)
  [ -z "$why" ] && return
  echo "wine-harness: $arch programs not run: $why" >&2
  exit $skipped
}

wine_env=(
  "WINEPREFIX=$state/prefix"
  WINEDEBUG=-all
  "WINEARCH=$arch"
  "WINELOADER=$loader"
  # No Mono or Gecko installers: the tests need neither, and their prompts would block.
  "WINEDLLOVERRIDES=mscoree,mshtml="
  # Code page 936 needs a zh_CN locale; a generated copy in the build tree keeps Wine's Unix side
  # from falling back to ASCII for non-ASCII file names.
  LC_ALL=zh_CN.UTF-8
  "LOCPATH=$state/locale"
  # Unsmoothed text, so the Song face of the prefix comes from its crisp embedded bitmaps.
  "FONTCONFIG_FILE=$(dirname "$(readlink -f "$0")")/wine-fonts.conf"
)
in_wine() { env "${wine_env[@]}" "$@"; }
wine() { in_wine "$loader" "$@"; }
wineserver() { in_wine "$wine_dir/wineserver" "$@"; }
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

# The settings every prefix gets on top of Wine's defaults.
configure_prefix() {
  # Wine, not a window manager, owns the frames, so non-client painting reaches the screen;
  # unmanaged windows close at once instead of waiting for a window manager that never answers.
  local x11='HKCU\Software\Wine\X11 Driver'
  wine reg add "$x11" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add "$x11" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Chinese text in a Song face that fits its cell, as a Chinese Windows draws it. Left alone,
  # Wine answers the program's GB2312 "MS Sans Serif" and the dialog font with a Hei face whose
  # embedded bitmaps lose their top rows at 8 and 9 pt. AR PL UMing's 12-pixel bitmaps fit.
  local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' song='AR PL UMing CN'
  wine reg add "$subst" /v 'MS Sans Serif,134' /t REG_SZ /d "$song,134" /f >/dev/null 2>&1
  local face
  for face in 'MS Shell Dlg' SimSun NSimSun 宋体 新宋体; do
    wine reg add "$subst" /v "$face" /t REG_SZ /d "$song" /f >/dev/null 2>&1
  done
}

# What a prefix was made with. A prefix made before wine32 was installed lacks the 32-bit half,
# and then no program starts in it ("could not load kernel32.dll"); one made by another Wine
# version, or by another recipe of this script, may not start or look the same. Either way it is
# made again.
prefix_stamp() {
  local halves
  halves=$(for l in wine wine64; do [ -x "$wine_dir/$l" ] && printf '%s ' "$l"; done)
  echo "$arch $("$loader" --version 2>/dev/null) loaders: $halves" \
    "recipe: $(declare -f ensure_prefix configure_prefix | md5sum | cut -c1-12)"
}

ensure_prefix() {
  local stamp
  stamp=$(prefix_stamp)
  [ -f "$state/prefix.ready" ] && [ "$(cat "$state/prefix.ready")" = "$stamp" ] && return
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$state/prefix.ready"
  wine wineboot -i >"$state/wineboot.log" 2>&1
  wineserver -w
  configure_prefix
  wineserver -w
  echo "$stamp" >"$state/prefix.ready"
}

case $cmd in
start)
  require_runnable
  ensure_locale
  ensure_display
  ensure_prefix
  # One persistent wineserver for the whole run: each test then starts in a fraction of a second.
  # Wine's own background processes (services, device host, desktop) start with the first
  # program and live as long as the server; start them here, away from the test runner's pipes,
  # or the runner would wait on them after every test.
  # A server left from a manual wine-exec.sh run would go away on its own later: replace it.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  setsid env "${wine_env[@]}" "$wine_dir/wineserver" -p >/dev/null 2>&1 </dev/null
  DISPLAY=$(cat "$state/display") wine cmd /c exit >/dev/null 2>&1 </dev/null
  echo "wine harness ready ($arch): prefix $WINEPREFIX, display $(cat "$state/display")"
  ;;
stop)
  [ -x "$wine_dir/wineserver" ] && { wineserver -k 2>/dev/null || true; }
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid"
  fi
  rm -f "$state/display"
  ;;
env)
  # One NAME=VALUE per line, for env(1); WINELOADER names the program to run.
  printf '%s\n' "${wine_env[@]}"
  [ -f "$state/display" ] && echo "DISPLAY=$(cat "$state/display")"
  ;;
check)
  require_runnable
  ;;
ready)
  # An Xvfb of an earlier session may be gone while its display file stays.
  [ -f "$state/display" ] && [ -f "$state/prefix.ready" ] &&
    [ "$(cat "$state/prefix.ready")" = "$(prefix_stamp)" ] &&
    { [ ! -f "$state/xvfb.pid" ] || kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }
  ;;
*)
  echo "usage: wine-harness.sh start|stop|env|ready|check BUILD" >&2
  exit 2
  ;;
esac
