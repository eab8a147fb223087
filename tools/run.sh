#!/usr/bin/env bash
# Builds the suite and runs PioScreen under Wine, as a user starts it, inside a
# 1280x720 virtual desktop. With no DISPLAY it runs on a private Xvfb and leaves
# screenshots in screenshots/: page 1 (with the stand-in TV display library beside
# the program) and page 4 (without it), in English and in the language given by
# PIO_LANGUAGE (default French).
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
tools/install-deps.sh || exit 1
mkdir -p build/logs
echo "Building (win64)..."
if ! { cmake --preset win64 -UPIO_COMPONENTS && cmake --build --preset win64 &&
       cmake --install build/win64; } >build/logs/run-build.log 2>&1; then
  tail -n 40 build/logs/run-build.log; exit 1
fi
dist=$root/dist/win64
demo=$root/build/demo
shots=$root/screenshots
mkdir -p "$demo" "$shots"

if [ ! -f "$dist/PioScreen/PioScreen.exe" ]; then
  echo "PioScreen is not built yet; the display mode catalogue of Wine's virtual desktop:"
  tools/wine-env.sh "$demo/wineprefix" tools/wine-exec.sh "$dist/testkit/modelist.exe"
  exit $?
fi

# Two copies of the program folder: one with the stand-in vendor library (page 1),
# one without (page 4). The stand-in never ships beside the real program.
rm -rf "$demo/tv" "$demo/plain"
cp -r "$dist/PioScreen" "$demo/tv"
cp -r "$dist/PioScreen" "$demo/plain"
[ -f "$dist/testkit/atipdlxx.dll" ] && cp "$dist/testkit/atipdlxx.dll" "$dist/testkit/atipdlxx.ini" "$demo/tv/" 2>/dev/null

if [ -n "${DISPLAY:-}" ] && [ -z "${PIO_HEADLESS:-}" ]; then
  echo "Starting PioScreen on $DISPLAY (close it with the blue key, Esc or Alt+F4)."
  PIO_USE_DISPLAY=1 tools/wine-env.sh "$demo/wineprefix" tools/wine-exec.sh "$demo/tv/PioScreen.exe"
  exit $?
fi

export PIO_DEMO_DIR=$demo PIO_SHOTS=$shots
tools/wine-env.sh "$demo/wineprefix" tools/demo-shots.sh
