#!/usr/bin/env bash
# Inside tools/wine-env.sh (see tools/gallery.sh): for each language given, starts
# PioScreen from the gallery's two program folders in the locale its language file
# names, and takes screenshots of its window: LANGUAGE-page1.png, -page4.png and
# -exit.png (the question that Esc asks) in $PIO_SHOTS.
set -u
tmp=$PIO_DEMO_DIR/tmp
mkdir -p "$tmp"

# The locale of a machine of the language (its ANSI code page, its fonts).
locale_of() {
  local file=$PIO_DEMO_DIR/tv/Languages/$1.txt locale=""
  [ -f "$file" ] && locale=$(sed -n 's/^; locale \([A-Za-z_]*\).*/\1/p' "$file" | head -n 1)
  echo "${locale:-C}.UTF-8"
}

# Screenshots of the X display until two in a row are the same (the picture has
# settled), at most for the given seconds; leaves the last in $tmp/now.png.
settle() {
  local limit=$(( $(date +%s) + $1 ))
  import -window root "$tmp/now.png"
  while [ "$(date +%s)" -lt "$limit" ]; do
    sleep 0.3
    mv "$tmp/now.png" "$tmp/before.png"
    import -window root "$tmp/now.png"
    [ "$(compare -metric AE "$tmp/before.png" "$tmp/now.png" null: 2>&1)" = "0" ] && return 0
  done
  return 1
}

window_geometry() {  # WIDTHxHEIGHT+X+Y of the main window on the screen, or empty
  local id
  id=$(xdotool search --onlyvisible --name "^Pio Screen Setting$" 2>/dev/null | head -n 1)
  [ -n "$id" ] || return 0
  xwininfo -id "$id" | awk -F: '/Absolute upper-left X/{x=$2} /Absolute upper-left Y/{y=$2}
    /Width/{w=$2} /Height/{h=$2} END{gsub(/ /, "", x); gsub(/ /, "", y); gsub(/ /, "", w);
    gsub(/ /, "", h); print w "x" h "+" x "+" y}'
}

start() {  # start FOLDER LANGUAGE: waits for the window
  local folder=$1 language=$2
  printf '[Language]\r\nName=%s\r\n' "$language" >"$folder/DiZovadAzir.ini"
  (cd "$folder" && LC_ALL=$(locale_of "$language") exec "$PIO_WINE64" PioScreen.exe \
     >"$PIO_DEMO_DIR/$language.log" 2>&1 </dev/null) &
  pio_pid=$!
  local geometry="" spread
  for _ in $(seq 200); do
    geometry=$(window_geometry)
    if [ -n "$geometry" ]; then
      # Mapped is not yet painted: wait until the window's part of the screen is
      # no longer one plain colour.
      import -window root -crop "$geometry" +repage "$tmp/window.png"
      spread=$(convert "$tmp/window.png" -format '%[fx:int(1000*standard_deviation)]' info:)
      [ "${spread:-0}" -gt 50 ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

stop() {
  "$PIO_WINESERVER" -k >/dev/null 2>&1
  wait "$pio_pid" 2>/dev/null
  "$PIO_WINESERVER" -p >/dev/null 2>&1 </dev/null
}

keep() {  # keep NAME: the main window's part of the settled screenshot
  local geometry
  geometry=$(window_geometry)
  convert "$tmp/now.png" -crop "$geometry" +repage "$PIO_SHOTS/$1.png"
  echo "screenshot: $PIO_SHOTS/$1.png"
}

status=0
for language in "$@"; do
  echo "$language ($(locale_of "$language"))"
  if ! start "$PIO_DEMO_DIR/tv" "$language"; then
    stop
    if ! start "$PIO_DEMO_DIR/tv" "$language"; then
      echo "  no window"; status=1; stop; continue
    fi
  fi
  settle 10
  keep "$language-page1"
  stop

  if ! start "$PIO_DEMO_DIR/plain" "$language"; then
    stop  # once more: a start now and then shows nothing under a busy Wine
    if ! start "$PIO_DEMO_DIR/plain" "$language"; then
      echo "  no window"; status=1; stop; continue
    fi
  fi
  settle 10
  keep "$language-page4"
  cp "$tmp/now.png" "$tmp/page4.png"
  # Esc asks the exit question over the darkened window: most of the screen changes.
  xdotool key Escape
  changed=0
  for _ in $(seq 50); do
    sleep 0.1
    import -window root "$tmp/now.png"
    changed=$(compare -metric AE "$tmp/page4.png" "$tmp/now.png" null: 2>&1)
    [ "${changed%%.*}" -gt 100000 ] 2>/dev/null && break
  done
  if [ "${changed%%.*}" -gt 100000 ] 2>/dev/null; then
    settle 10
    keep "$language-exit"
  else
    echo "  Esc showed no question"; status=1
  fi
  stop
done
exit $status
