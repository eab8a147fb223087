#!/usr/bin/env bash
# Applying a size and a DPI in a running PioScreen, as a person with a remote
# control does it, in the test prefix's virtual desktop (1280 x 720, its sizes in
# order 800x600 1024x768 1152x864 1280x720 1280x800 ...). Usage:
# apply_e2e.sh DRIVER.exe  (inside tools/wine-env.sh)
set -u
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin apply "$1"

# regdword KEY VALUE: the number stored, or "none".
regdword() {
  "$PIO_WINE64" reg query "$1" /v "$2" >"$work/reg.out" 2>/dev/null </dev/null
  local hex
  hex=$(tr -d '\r' <"$work/reg.out" | awk -v v="$2" '$1 == v && $2 == "REG_DWORD" { print $3 }')
  if [ -n "$hex" ]; then echo $((hex)); else echo none; fi
}
request() { regdword 'HKCU\SOFTWARE\KAVO\KvSrc' Range; }
system_dpi() { regdword "$SYSTEM_FONTS" LogPixels; }

key() { drive send 0x0100 "$1" 0 >/dev/null; }  # a key, handled when this returns
VK_RIGHT=0x27; VK_LEFT=0x25; VK_DOWN=0x28; VK_UP=0x26

# choose_and_apply KEY HOW: one step of the resolution slider (right: from
# 1280 x 720 to 1280 x 800), then the green key's code, as the remote control
# sends it; the question comes up.
choose_and_apply() {
  key $VK_DOWN   # from the DPI keys to the resolution thumb
  check "$2: on the resolution thumb" 1020 "$(drive focus)"
  key "$1"
  drive post broadcast 0x2655 0x0312005C >/dev/null
  check "$2: the question is up" 0 "$(drive box 10000 >/dev/null; echo $?)"
}

exec 3>"$work/trace.log"
BASH_XTRACEFD=3
PS4='+ $(date +%T.%3N) '
set -x

# The state the steps below begin from: 1280 x 720 shown and saved, 96 DPI in
# force and no request pending.
SYSTEM_FONTS='HKLM\SYSTEM\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
reset_prefix() {
  drive setmode 1280 720 save >/dev/null
  "$PIO_WINE64" reg add "$SYSTEM_FONTS" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 </dev/null
  "$PIO_WINE64" reg delete 'HKCU\SOFTWARE\KAVO\KvSrc' /v Range /f >/dev/null 2>&1 </dev/null
}
reset_prefix

start
check "starts at 1280 x 720" "3" "$(drive scrollpos 1028)"
settles "starts on the small DPI key" 1052 5000 drive focus

# 1. Nobody answers: the old size is back after about 16 s, and nothing was saved.
#    The time is taken by a second driver from the moment the question appears.
(cd "$work" && "$PIO_WINE64" "$driver_exe" backafter 1280 720 30000 >"$work/back.out" 2>/dev/null </dev/null) &
watcher=$!
choose_and_apply $VK_RIGHT "time-out"
settles "time-out: the display shows the new size" "1280 800" 3000 drive mode
settles "time-out: nothing saved while asking" "1280 720" 3000 drive savedmode
check "time-out: the question counts" 1 "$(drive boxtext | grep -c 'Press button within 1[56] sec.')"
wait "$watcher"
back=$(tr -d '\r' <"$work/back.out")
echo "switched back ${back} ms after the question came up"
check "time-out: back after 16 s (+-0.5)" 1 "$([ "$back" -ge 15500 ] 2>/dev/null && [ "$back" -le 16500 ] && echo 1 || echo 0)"
check "time-out: the question is gone" 0 "$(drive nobox 5000 >/dev/null; echo $?)"
settles "time-out: still saved as before" "1280 720" 3000 drive savedmode
settles "time-out: the selection is back" 3 3000 drive scrollpos 1028

# 2. "No" switches back at once.
choose_and_apply $VK_RIGHT "No"
click 1057
settles "No: back to 1280 x 720" "1280 720" 3000 drive mode
settles "No: nothing saved" "1280 720" 3000 drive savedmode
check "No: the question is gone" 0 "$(drive nobox 5000 >/dev/null; echo $?)"

# 3. "Yes" keeps the size, and only then is it saved.
choose_and_apply $VK_RIGHT "Yes"
click 1056
check "Yes: the question is gone" 0 "$(drive nobox 5000 >/dev/null; echo $?)"
settles "Yes: the new size stays" "1280 800" 3000 drive mode
settles "Yes: the new size is saved" "1280 800" 3000 drive savedmode
check "Yes: the selection shows it" 4 "$(drive scrollpos 1028)"
# ... and back the same way.
choose_and_apply $VK_LEFT "Yes, back"
click 1056
drive nobox 5000 >/dev/null
settles "Yes, back: 1280 x 720 saved" "1280 720" 3000 drive savedmode

# 4. The program ends during the question: Windows still starts in the saved size.
choose_and_apply $VK_RIGHT "killed"
drive kill >/dev/null
wait "$pio_pid" 2>/dev/null
settles "killed: the saved size is the old one" "1280 720" 3000 drive savedmode
drive setmode 1280 720 >/dev/null

# 5. A new DPI: stored as the request, carried into the system's setting by
#    KvSrcHelper, and the restart offered. "No" leaves the request in place.
#    A bystander program runs too, shown before PioScreen starts so that it does
#    not take the keyboard from it.
"$PIO_WINE64" notepad.exe >/dev/null 2>&1 </dev/null &
bystander=$!
check "a bystander program is shown" 0 "$(drive shown Notepad 20000 >/dev/null; echo $?)"
helper=""
if [ -f "$PIO_DIST_DIR/KvSrcHelper/KvSrcHelper.exe" ]; then
  "$PIO_WINE64" "$PIO_DIST_DIR/KvSrcHelper/KvSrcHelper.exe" >"$work/helper.log" 2>&1 </dev/null &
  helper=$!
fi
start
settles "DPI: starts on the small DPI key" 1052 5000 drive focus
key $VK_RIGHT  # on the small DPI key: the medium one
drive post broadcast 0x2655 0x0312005C >/dev/null
check "DPI: the restart question is up" 0 "$(drive box 10000 >/dev/null; echo $?)"
check "DPI: its text" "You must reboot the computer to update Font.|Would you want to reboot now?" \
  "$(drive boxtext | paste -sd '|')"
check "DPI: 120 requested" 120 "$(request)"
if [ -f "$PIO_DIST_DIR/KvSrcHelper/KvSrcHelper.exe" ]; then
  settles "DPI: KvSrcHelper carries it into the system setting" 120 5000 system_dpi
fi
click 1057
check "DPI, No: the question is gone" 0 "$(drive nobox 5000 >/dev/null; echo $?)"
check "DPI, No: the request stays" 120 "$(request)"
check "DPI, No: the program runs on" 1 "$(drive count)"

# 6. "Yes" restarts. Under Wine that ends the programs of the test prefix (the
#    machine is never touched) and starts its services again.
check "restart: the medium DPI key has the focus back" 1054 "$(drive focus)"
key $VK_RIGHT  # large
drive post broadcast 0x2655 0x0312005C >/dev/null
check "restart: the question is up" 0 "$(drive box 10000 >/dev/null; echo $?)"
check "restart: 140 requested" 140 "$(request)"
click 1056
deadline=$(( $(date +%s) + 20 ))
while kill -0 "$bystander" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do sleep 0.2; done
check "restart: a bystander program was ended" 0 "$(kill -0 "$bystander" 2>/dev/null && echo 1 || echo 0)"
# Whatever happened, nothing started here outlives the test: a helper left
# running would take the requests of the tests after it.
kill "$bystander" 2>/dev/null
if [ -n "$helper" ]; then kill "$helper" 2>/dev/null; wait "$helper" 2>/dev/null; fi
drive gone 20000 >/dev/null || stop
reap

# Leave the prefix as the other tests expect it.
reset_prefix

e2e_end
