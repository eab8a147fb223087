# Sourced inside tools/wine-env.sh by the screenshot scripts (tools/demo-shots.sh,
# tools/gallery-shots.sh): PioScreen started from a program folder in the locale
# of its language, and screenshots of the X display once the picture has settled.
# Needs PIO_DEMO_DIR (a work folder) and PIO_SHOTS (where the pictures go).
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

# open_settled FOLDER LANGUAGE: started, once more when a start shows nothing (it
# happens now and then under a busy Wine), and the picture settled.
open_settled() {
  if ! start "$1" "$2"; then
    stop
    start "$1" "$2" || { stop; return 1; }
  fi
  settle 10
}
