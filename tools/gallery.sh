#!/usr/bin/env bash
# Builds the suite and shows PioScreen in every language it ships, under Wine on a
# private Xvfb, each language in the locale of a machine of that language (its
# ANSI code page and fonts). Leaves three screenshots per language in
# screenshots/gallery/ (page 1 with the stand-in TV display library beside the
# program, page 4 without it, and the exit question) and the contact sheet
# docs/languages.jpg.
#
#   tools/gallery.sh [LANGUAGE...]      (default: English and every shipped language)
#   PIO_DIST_DIR=dist/win64-mine tools/gallery.sh   uses that installed build as it is
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
tools/install-deps.sh || exit 1
if [ -z "${PIO_DIST_DIR:-}" ]; then
  mkdir -p build/logs
  echo "Building (win64)..."
  if ! { cmake --preset win64 -UPIO_COMPONENTS && cmake --build --preset win64 &&
         cmake --install build/win64; } >build/logs/gallery-build.log 2>&1; then
    tail -n 40 build/logs/gallery-build.log; exit 1
  fi
  PIO_DIST_DIR=$root/dist/win64
fi
dist=$(realpath "$PIO_DIST_DIR")
[ -f "$dist/PioScreen/PioScreen.exe" ] || { echo "no PioScreen.exe in $dist/PioScreen"; exit 1; }

demo=$root/build/gallery
shots=$root/screenshots/gallery
rm -rf "$demo/tv" "$demo/plain"
mkdir -p "$demo" "$shots"
cp -r "$dist/PioScreen" "$demo/tv"
cp -r "$dist/PioScreen" "$demo/plain"
cp "$dist/testkit/atipdlxx.dll" "$dist/testkit/atipdlxx.ini" "$demo/tv/" 2>/dev/null

if [ $# -gt 0 ]; then
  languages=("$@")
else
  languages=(English)
  for f in "$dist"/PioScreen/Languages/*.txt; do languages+=("$(basename "$f" .txt)"); done
fi

export PIO_DEMO_DIR=$demo PIO_SHOTS=$shots
tools/wine-env.sh "$demo/wineprefix" tools/gallery-shots.sh "${languages[@]}" || exit 1

# The contact sheet: one row per language, the window only, scaled down.
[ $# -gt 0 ] && exit 0
tiles=()
for language in "${languages[@]}"; do
  for kind in page1 page4 exit; do
    tile=$shots/$language-$kind.png
    [ -f "$tile" ] && tiles+=(-label "$language  $kind" "$tile")
  done
done
montage -font DejaVu-Sans -pointsize 14 "${tiles[@]}" -tile 3x -geometry 400x225+6+4 \
  -background '#1e2530' -fill white -quality 82 "$root/docs/languages.jpg"
echo "contact sheet: docs/languages.jpg"
