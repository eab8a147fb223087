#!/usr/bin/env bash
# wine-env.sh PREFIX_DIR COMMAND...
# Runs COMMAND with a private Wine prefix inside a virtual desktop on a private
# Xvfb display, and always cleans up: wineserver -k and Xvfb stopped, whatever
# COMMAND does. The prefix is kept between runs (PIO_FRESH_PREFIX=1 makes it anew).
#
# The prefix is a sandbox for programs that create and delete folder trees: its
# user folders are plain folders of its own, and its drives show the project's
# folders only (see confine_prefix), never the Linux home or the whole system.
#
# Exported to COMMAND: WINEPREFIX, DISPLAY, WINEDEBUG, PIO_WINE64, PIO_WINESERVER.
# PIO_WINE_SHARED: more host folders (colon-separated) the programs may reach.
set -u
prefix=$(realpath -m "$1"); shift
project=$(realpath "$(dirname "$0")/..")
export PIO_WINE64=/usr/lib/wine/wine64
export PIO_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$PIO_WINESERVER" ] || PIO_WINESERVER=$(command -v wineserver)
# tools/install-deps.sh installs it; a machine set up before that is told why tests
# may fail once in a while.
[ -x "$(dirname "$PIO_WINE64")/wine64-preloader" ] ||
  echo "wine-env: no wine64-preloader: about one Wine start in 3,000 will end at once (package wine64-preloader)" >&2
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a machine without network; no menu
# entries or file associations written into the Linux home for shortcuts that
# installers make.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
desktop_size=${PIO_DESKTOP_SIZE:-1280x720}
log_dir=$(dirname "$prefix")
mkdir -p "$log_dir"
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

# A new prefix links the user's Desktop, Documents, Downloads, Music, Pictures and
# Videos to the Linux home and drive Z: to "/": one wrong path in a test that
# deletes a folder tree would reach the developer's files. The links become plain
# folders; Z: becomes a folder of the prefix in which only the shared folders
# appear, each under its own Unix path, so that "Z:" + a Unix path of the build
# still works. Each shared folder also gets a drive of its own (P:, O:, ...):
# Wine names a program's file by the nearest drive root above it, and a program
# started from the build must see a Windows path of its own, not a Unix one.
confine_prefix() {
  local link folder letters=(p o n m l k) shared=() i=0
  for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
  shared+=("$project")
  case "$(dirname "$prefix")/" in "$project"/*) ;; *) shared+=("$(dirname "$prefix")") ;; esac
  local IFS=:
  for folder in ${PIO_WINE_SHARED:-}; do [ -d "$folder" ] && shared+=("$(realpath "$folder")"); done
  unset IFS
  mkdir -p "$prefix/host"
  for folder in "${shared[@]}"; do
    mkdir -p "$prefix/host$(dirname "$folder")"
    [ -L "$prefix/host$folder" ] || ln -s "$folder" "$prefix/host$folder"
    [ $i -lt ${#letters[@]} ] && ln -sfn "$folder" "$prefix/dosdevices/${letters[$i]}:"
    i=$((i + 1))
  done
  ln -sfn ../host "$prefix/dosdevices/z:"
}

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
# Also for prefixes made before this rule: cheap, and nothing runs in it yet.
confine_prefix
# Keep one wineserver for the whole run instead of one per program.
"$PIO_WINESERVER" -p >/dev/null 2>&1 </dev/null

"$@"
