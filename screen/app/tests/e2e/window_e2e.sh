#!/usr/bin/env bash
# Dragging PioScreen by its face with a real mouse: a press starts the move, and
# bursts of quick drags never take the window where no mouse can reach it.
# Usage: window_e2e.sh DRIVER.exe  (inside tools/wine-env.sh)
set -u
driver_exe=$1
work=$PIO_BINARY_DIR/e2e-window
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
drive() { "$PIO_WINE64" "$driver_exe" "$@" >"$work/driver.out" 2>/dev/null </dev/null; tr -d '\r' <"$work/driver.out"; }

cp -r "$PIO_DIST_DIR/PioScreen" "$work/plain"
(cd "$work/plain" && exec "$PIO_WINE64" PioScreen.exe >"$work/pioscreen.log" 2>&1 </dev/null) &
pio_pid=$!
read -r left top right bottom <<<"$(drive wait 20000)"

# A press on the face (a point of the right panel without a control, below the
# resolution row) starts moving the window.
x=$((left + 960)); y=$((top + 470))
xdotool mousemove "$x" "$y" mousedown 1
check "a press on the face starts moving the window" 0 "$(drive moving 5000; echo $?)"
xdotool mousemove "$((x + 60))" "$((y + 40))" mouseup 1

# Bursts of quick press-move-release drags that start in the right panel.
for burst in 1 2 3 4 5 6 7 8; do
  read -r left top _ <<<"$(drive wait 1000)"
  x=$((left + 960)); y=$((top + 470))
  xdotool mousemove "$x" "$y" mousedown 1 mousemove "$((x - 300))" "$((y - 300))" mouseup 1 \
          mousedown 1 mousemove "$((x - 600))" "$((y - 500))" mouseup 1
done
read -r left top right bottom <<<"$(drive wait 1000)"
echo "window after the bursts: $left $top $right $bottom"
check "the title band is on the screen" 1 "$([ "$top" -ge 0 ] && [ "$right" -ge 120 ] && echo 1 || echo 0)"

drive post 0x0112 0xF060 0 >/dev/null
drive gone 10000 >/dev/null
wait "$pio_pid" 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
