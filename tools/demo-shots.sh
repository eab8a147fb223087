#!/usr/bin/env bash
# Inside tools/wine-env.sh (see tools/run.sh): starts PioScreen from the demo
# folders and takes screenshots of the virtual desktop once the picture settled.
set -u
. "$(dirname "$0")/shots-lib.sh"
shot() {  # shot FOLDER LANGUAGE NAME
  if ! open_settled "$1" "$2"; then echo "no window for $3"; return 1; fi
  convert "$tmp/now.png" -crop 1280x720+0+0 +repage "$PIO_SHOTS/$3.png"
  echo "screenshot: $PIO_SHOTS/$3.png"
  stop
}
status=0
shot "$PIO_DEMO_DIR/tv" English page1 || status=1
shot "$PIO_DEMO_DIR/plain" English page4 || status=1
shot "$PIO_DEMO_DIR/tv" "${PIO_LANGUAGE:-French}" "page1-${PIO_LANGUAGE:-French}" || status=1
exit $status
