#!/usr/bin/env bash
# PioScreen as a user runs it, in the test prefix's virtual desktop, checked from
# outside. Usage: pioscreen_e2e.sh DRIVER.exe  (inside tools/wine-env.sh)
set -u
driver_exe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$PIO_BINARY_DIR/e2e-pioscreen
rm -rf "$work"
mkdir -p "$work"
passed=0
failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1)); echo "ok   $1"
  else
    failed=$((failed + 1)); echo "FAIL $1: expected '$2', got '$3'"
  fi
}

drive() { "$PIO_WINE64" "$driver_exe" "$@" >"$work/driver.out" 2>/dev/null </dev/null; cat "$work/driver.out" | tr -d '\r'; }

start() {  # start FOLDER: runs PioScreen from that folder, as a double click would
  (cd "$1" && exec "$PIO_WINE64" PioScreen.exe >"$work/pioscreen.log" 2>&1 </dev/null) &
  pio_pid=$!
}

stop() {  # closes it from the task bar (no question) and waits for the end
  drive post 0x0112 0xF060 0 >/dev/null
  drive gone 10000 >/dev/null
  wait "$pio_pid" 2>/dev/null
}

# Test copies of the installed folder: as shipped, and with the stand-in TV display
# library beside the program (a display whose picture size can be adjusted).
cp -r "$PIO_DIST_DIR/PioScreen" "$work/plain"
cp -r "$PIO_DIST_DIR/PioScreen" "$work/tv"
if [ -f "$PIO_DIST_DIR/testkit/atipdlxx.dll" ]; then
  cp "$PIO_DIST_DIR/testkit/atipdlxx.dll" "$work/tv/"
  [ -f "$PIO_DIST_DIR/testkit/atipdlxx.ini" ] && cp "$PIO_DIST_DIR/testkit/atipdlxx.ini" "$work/tv/"
fi

# 1. Without the TV library: page 4, the resolution row.
t0=$(date +%s%N)
start "$work/plain"
rect=$(drive wait 20000)
echo "window at: $rect (shown after $(( ($(date +%s%N) - t0) / 1000000 )) ms)"
check "page 4: resolution thumb shown" 1 "$(drive visible 1020)"
check "page 4: picture-size thumb hidden" 0 "$(drive visible 1021)"
check "page 4: slider scroll bar hidden" 0 "$(drive visible 1028)"

# 2. What a person sees: the frame's shape and the four key colours.
sleep 1
import -window root "$work/page4.png"
read -r left top right bottom <<<"$rect"
if /usr/bin/python3 "$here/check_screenshot.py" "$work/page4.png" "$left" "$top" "$right" "$bottom"; then
  check "screenshot structure" ok ok
else
  check "screenshot structure" ok broken
fi

# 3. A real drag of the resolution thumb to the right selects larger sizes.
before=$(drive scrollpos 1028)
read -r tl tt tr tb <<<"$(drive rect 1020)"
x=$(( (tl + tr) / 2 )); y=$(( (tt + tb) / 2 ))
xdotool mousemove "$x" "$y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do xdotool mousemove "$((x + step * 8))" "$y"; sleep 0.05; done
xdotool mouseup 1
sleep 0.5
after=$(drive scrollpos 1028)
check "thumb drag moves the selection right" 1 "$([ "$after" -gt "$before" ] && echo 1 || echo 0)"
xdotool key Left Left Left Left Left Left Left Left Left Left Left Left Left Left
sleep 0.3

# 4. A second start restores the first window and ends without one of its own.
drive minimize >/dev/null
sleep 0.3
check "first copy minimised" 1 "$(drive iconic)"
(cd "$work/plain" && timeout 30 "$PIO_WINE64" PioScreen.exe >"$work/second.log" 2>&1 </dev/null)
check "second start ends" 0 "$?"
sleep 0.3
check "first copy restored" 0 "$(drive iconic)"
check "one window only" 1 "$(drive count)"

# 5. Closing from the task bar ends the program; the name is free again.
stop
check "closed" 0 "$(drive count)"

# 6. With the TV library: page 1, the picture-size row.
if [ -f "$work/tv/atipdlxx.dll" ]; then
  start "$work/tv"
  drive wait 20000 >/dev/null
  check "page 1: picture-size thumb shown" 1 "$(drive visible 1021)"
  check "page 1: resolution thumb hidden" 0 "$(drive visible 1020)"
  check "page 1: red key unavailable" 0 "$(drive enabled 1036)"
  # Yellow (remote control) goes to page 4.
  drive post broadcast 0x2655 0x0312005D >/dev/null
  sleep 0.3
  check "yellow key code: page 4" 1 "$(drive visible 1020)"
  import -window root "$work/page1-then-4.png"
  stop
else
  echo "FAIL no stand-in TV library in testkit/"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
