#!/usr/bin/env bash
# PioScreen as a user runs it, in the test prefix's virtual desktop, checked from
# outside. Usage: pioscreen_e2e.sh DRIVER.exe  (inside tools/wine-env.sh)
# Every check waits for the state it checks (the driver polls with a deadline),
# keys and messages are sent, not posted, before their effect is read, and the
# pointer is parked where the system sees it before a screenshot.
set -u
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin pioscreen "$1"
here=$(cd "$(dirname "$0")" && pwd)
deadline=20000

launch() {  # launch FOLDER: runs PioScreen from that folder, as a double click would
  (cd "$1" && exec "$PIO_WINE64" PioScreen.exe >"$work/pioscreen.log" 2>&1 </dev/null) &
  pio_pid=$!
}

# start_watched FOLDER: the driver looks for the window from before the program
# starts, and reads it the moment it first becomes visible.
start_watched() {
  "$PIO_WINE64" "$driver_exe" firstframe $deadline >"$work/first.out" 2>/dev/null </dev/null &
  watch_pid=$!
  for _ in $(seq 200); do grep -q ready "$work/first.out" 2>/dev/null && break; sleep 0.05; done
  launch "$1"
  wait "$watch_pid"
}
first_frame() { tr -d '\r' <"$work/first.out" | grep -v ready; }

# The pointer where the system sees it, outside the window: the system learns of
# a move only from motion over its desktop, which the driver's first start makes.
park() {
  drive count >/dev/null
  xdotool mousemove 1200 700 mousemove 1270 710
  check "pointer parked outside the window" "1270 710" "$(drive cursor 1270 710 $deadline)"
}

# A screenshot of the settled screen: taken until the window's structure shows
# (the display shows a frame once the program has painted and gone idle).
shot() {  # shot FILE LEFT TOP RIGHT BOTTOM [UNAVAILABLE_KEY...] -> "ok" or "broken"
  local result=broken
  for _ in $(seq 50); do
    import -window root "$1"
    if /usr/bin/python3 "$here/check_screenshot.py" "$@" >"$work/shot.out"; then result=ok; break; fi
    sleep 0.1
  done
  [ "$result" = ok ] || cat "$work/shot.out"
  echo "$result"
}

# Test copies of the installed folder: as shipped, and with the stand-in TV display
# library beside the program (a display whose picture size can be adjusted). No
# favourites from an earlier run.
cp -r "$PIO_DIST_DIR/PioScreen" "$work/tv"
if [ -f "$PIO_DIST_DIR/testkit/atipdlxx.dll" ]; then
  cp "$PIO_DIST_DIR/testkit/atipdlxx.dll" "$work/tv/"
  [ -f "$PIO_DIST_DIR/testkit/atipdlxx.ini" ] && cp "$PIO_DIST_DIR/testkit/atipdlxx.ini" "$work/tv/"
fi
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Local/KAVO/Pio-Screen/ScreenConfig.ini
park

# 1. Without the TV library: page 4, the resolution row. The first frame anybody
#    sees is the finished one: centred in the 1280 x 720 desktop, on its page, the
#    thumb on its track.
start_watched "$work/plain"
check "first frame: centred, page 4, thumbs, track" "128 72 1 0 326" "$(first_frame)"
rect=$(drive wait $deadline)
echo "window at: $rect"
check "page 4: resolution thumb shown" 1 "$(drive visible 1020)"
check "page 4: picture-size thumb hidden" 0 "$(drive visible 1021)"
check "page 4: the DPI slider's thumb hidden" 0 "$(drive visible 1017)"

# 2. What a person sees: the frame's shape and the four key colours.
read -r left top right bottom <<<"$rect"
# (green: nothing to apply yet)
check "screenshot structure" ok "$(shot "$work/page4.png" "$left" "$top" "$right" "$bottom" green)"

# 3. A real drag of the resolution thumb to the right selects larger sizes. Each
#    move is waited for until the system has the pointer there.
before=$(drive scrollpos 1028)
read -r tl tt tr tb <<<"$(drive rect 1020)"
x=$(( (tl + tr) / 2 )); y=$(( (tt + tb) / 2 ))
xdotool mousemove "$x" "$y"
drive cursor "$x" "$y" $deadline >/dev/null
xdotool mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove "$((x + step * 8))" "$y"
  drive cursor "$((x + step * 8))" "$y" $deadline >/dev/null
done
xdotool mouseup 1
after=$(drive scrollpos 1028 gt "$before" $deadline)
check "thumb drag moves the selection right" 1 "$([ "$after" -gt "$before" ] && echo 1 || echo 0)"
park

# 4. A second start restores the first window and ends without one of its own.
drive minimize >/dev/null
check "first copy minimised" 1 "$(drive iconic 1 $deadline)"
(cd "$work/plain" && timeout 30 "$PIO_WINE64" PioScreen.exe >"$work/second.log" 2>&1 </dev/null)
check "second start ends" 0 "$?"
check "first copy restored" 0 "$(drive iconic 0 $deadline)"
check "one window only" 1 "$(drive count)"

# 5. Closing from the task bar ends the program; the name is free again.
stop
check "closed" 0 "$(drive count)"

# 6. With the TV library: page 1, the picture-size row; the remote control's
#    yellow key goes to page 4, which a person sees as another right panel beside
#    the same preview.
if [ -f "$work/tv/atipdlxx.dll" ]; then
  start_watched "$work/tv"
  check "page 1 first frame: centred, page 1" "128 72 0 1" "$(first_frame | cut -d' ' -f1-4)"
  rect=$(drive wait $deadline)
  check "page 1: picture-size thumb shown" 1 "$(drive visible 1021)"
  check "page 1: resolution thumb hidden" 0 "$(drive visible 1020)"
  check "page 1: red key unavailable" 0 "$(drive enabled 1036)"
  read -r left top right bottom <<<"$rect"
  check "page 1 screenshot structure" ok "$(shot "$work/page1.png" "$left" "$top" "$right" "$bottom" red green)"
  drive send broadcast 0x2655 0x0312005D >/dev/null
  check "yellow key code: page 4" 1 "$(drive visible 1020)"
  check "page 4 screenshot structure" ok "$(shot "$work/page1-then-4.png" "$left" "$top" "$right" "$bottom" green)"
  check "page 4 shows another right panel beside the same preview" "same differs" \
    "$(/usr/bin/python3 "$here/check_screenshot.py" --compare "$work/page1.png" "$work/page1-then-4.png" "$left" "$top")"
  stop
else
  echo "FAIL no stand-in TV library in testkit/"
  failed=$((failed + 1))
fi

e2e_end
