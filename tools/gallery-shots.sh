#!/usr/bin/env bash
# Inside tools/wine-env.sh (see tools/gallery.sh): for each language given, starts
# PioScreen from the gallery's two program folders in the locale its language file
# names, and takes screenshots of its window: LANGUAGE-page1.png, -page4.png and
# -exit.png (the question that Esc asks) in $PIO_SHOTS.
set -u
. "$(dirname "$0")/shots-lib.sh"
status=0
for language in "$@"; do
  echo "$language ($(locale_of "$language"))"
  if ! open_settled "$PIO_DEMO_DIR/tv" "$language"; then echo "  no window"; status=1; continue; fi
  keep "$language-page1"
  stop

  if ! open_settled "$PIO_DEMO_DIR/plain" "$language"; then echo "  no window"; status=1; continue; fi
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
