#!/usr/bin/env bash
# wine-env.sh PREFIX_DIR COMMAND...
# Runs COMMAND with a private Wine prefix inside a virtual desktop on a private
# Xvfb display, and always cleans up: wineserver -k and Xvfb stopped, whatever
# COMMAND does. The prefix is kept between runs (PIO_FRESH_PREFIX=1 makes it anew).
#
# Exported to COMMAND: WINEPREFIX, DISPLAY, WINEDEBUG, PIO_WINE64, PIO_WINESERVER.
set -u
prefix=$(realpath -m "$1"); shift
export PIO_WINE64=/usr/lib/wine/wine64
export PIO_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$PIO_WINESERVER" ] || PIO_WINESERVER=$(command -v wineserver)
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a machine without network.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
desktop_size=${PIO_DESKTOP_SIZE:-1280x720}
log_dir=$(dirname "$prefix")
xvfb_pid=""

cleanup() {
  "$PIO_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${PIO_USE_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
  n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1920x1080x24 -nolisten tcp >"$log_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$n
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
fi

if [ -n "${PIO_FRESH_PREFIX:-}" ]; then rm -rf "$prefix"; fi
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  "$PIO_WINE64" wineboot -i >"$log_dir/wineboot.log" 2>&1 </dev/null
  "$PIO_WINESERVER" -w
  # Every program of the prefix runs inside one virtual desktop, so that they see
  # each other's windows and the display offers Wine's list of modes.
  "$PIO_WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d pio /f >/dev/null 2>&1 </dev/null
  "$PIO_WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v pio /d "$desktop_size" /f >/dev/null 2>&1 </dev/null
  "$PIO_WINESERVER" -w
fi
# Keep one wineserver for the whole run instead of one per program.
"$PIO_WINESERVER" -p >/dev/null 2>&1 </dev/null

"$@"
