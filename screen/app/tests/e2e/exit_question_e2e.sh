#!/usr/bin/env bash
# The exit question of a running PioScreen, asked the four ways a person asks it
# (the blue key's remote-control code, Esc, Alt+F4) and answered with real clicks
# and keys. Usage: exit_question_e2e.sh DRIVER.exe  (inside tools/wine-env.sh)
set -u
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin exit-question "$1"

asked() {  # asked HOW: one question is up, over a disabled dialog
  check "$1: the question is up" 0 "$(drive box 10000 >/dev/null; echo $?)"
  check "$1: one question" 1 "$(drive boxes)"
  check "$1: its message" "Are you sure to exit ?" "$(drive boxtext)"
  check "$1: the dialog waits disabled" 0 "$(drive self enabled)"
}

answered_no() {  # answered_no HOW: the dialog is back, enabled and focused
  check "$1: the question is gone" 0 "$(drive nobox 5000 >/dev/null; echo $?)"
  settles "$1: the dialog is enabled again" 1 3000 drive self enabled
  settles "$1: the dialog has the focus" 1 3000 drive self focused
  check "$1: the program runs on" 1 "$(drive count)"
}

start

# The blue key's code from a remote control; a second request while the question
# is up opens nothing (sent, so it has been handled when the answer comes back).
drive post broadcast 0x2655 0x0312005E >/dev/null
asked "blue key code"
check "blue key code again: handled at once" 0 "$(drive send broadcast 0x2655 0x0312005E >/dev/null; echo $?)"
check "blue key code again: still one question" 1 "$(drive boxes)"
check "red key code meanwhile: handled at once" 0 "$(drive send broadcast 0x2655 0x0312005B >/dev/null; echo $?)"
click 1057
answered_no "blue key code, No clicked"
check "red key code meanwhile: pressed nothing behind the question" 1 "$(drive visible 1020)"

# Esc, answered with Enter: "No" has the focus when the question opens.
xdotool key Escape
asked "Esc"
xdotool key Return
answered_no "Esc, Enter on No"

# Alt+F4, answered "Yes" with a click: the program ends and frees its name.
xdotool key alt+F4
asked "Alt+F4"
click 1056
check "Yes: the program ends" 0 "$(drive gone 10000 >/dev/null; echo $?)"
reap
start
check "started again after Yes" 1 "$(drive count)"
drive post 0x0112 0xF060 0 >/dev/null  # from the task bar: no question
check "closed from the task bar" 0 "$(drive gone 10000 >/dev/null; echo $?)"
reap

e2e_end
