#!/usr/bin/env bash
# Inside tools/wine-env.sh: starts PioScreen from the demo folders, waits for its
# window and takes screenshots of the X display.
set -u
shot() {  # shot FOLDER LANGUAGE NAME
  local folder=$1 language=$2 name=$3
  # The stand-in language library beside the program reads its language here.
  printf '[Language]\r\nName=%s\r\n' "$language" >"$folder/DiZovadAzir.ini"
  # In the locale of a machine of the language, which gives the ANSI code page.
  local locale
  locale=$(sed -n 's/^; locale \([A-Za-z_]*\).*/\1/p' "$folder/Languages/$language.txt" 2>/dev/null)
  LC_ALL=${locale:-C}.UTF-8 "$PIO_WINE64" "$folder/PioScreen.exe" >"$PIO_DEMO_DIR/$name.log" 2>&1 </dev/null &
  local pid=$!
  for _ in $(seq 100); do
    xdotool search --name "Pio Screen Setting" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1.5
  import -window root -crop 1280x720+0+0 "$PIO_SHOTS/$name.png"
  echo "screenshot: $PIO_SHOTS/$name.png"
  "$PIO_WINESERVER" -k >/dev/null 2>&1
  wait $pid 2>/dev/null
  "$PIO_WINESERVER" -p >/dev/null 2>&1 </dev/null
}
shot "$PIO_DEMO_DIR/tv" English page1
shot "$PIO_DEMO_DIR/plain" English page4
shot "$PIO_DEMO_DIR/tv" "${PIO_LANGUAGE:-French}" "page1-${PIO_LANGUAGE:-French}"
