#!/usr/bin/env bash
# Dragging PioScreen by its face with a real mouse: a press starts the move, and
# bursts of quick drags never take the window where no mouse can reach it.
# Usage: window_e2e.sh DRIVER.exe  (inside tools/wine-env.sh)
set -u
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin window "$1"

start
read -r left top right bottom <<<"$window_rect"

# A press on the face (a point of the right panel without a control, below the
# resolution row) starts moving the window.
x=$((left + 960)); y=$((top + 470))
xdotool mousemove "$x" "$y" mousedown 1
check "a press on the face starts moving the window" 0 "$(drive moving 5000; echo $?)"
xdotool mousemove "$((x + 60))" "$((y + 40))" mouseup 1

# Bursts of quick press-move-release drags that start in the right panel. The
# pointer stops at the screen's edge (xdotool takes a negative number for an
# option, and would leave the button down).
edge() { echo $(($1 < 0 ? 0 : $1)); }
for burst in 1 2 3 4 5 6 7 8; do
  read -r left top _ <<<"$(drive wait 1000)"
  x=$((left + 960)); y=$((top + 470))
  xdotool mousemove "$x" "$y" mousedown 1 mousemove "$(edge $((x - 300)))" "$(edge $((y - 300)))" mouseup 1 \
          mousedown 1 mousemove "$(edge $((x - 600)))" "$(edge $((y - 500)))" mouseup 1
done
check "the last drag has ended" 0 "$(drive moving 5000 0; echo $?)"
read -r left top right bottom <<<"$(drive wait 1000)"
echo "window after the bursts: $left $top $right $bottom"
check "the title band is on the screen" 1 "$([ "$top" -ge 0 ] && [ "$right" -ge 120 ] && echo 1 || echo 0)"

stop
e2e_end
