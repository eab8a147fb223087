#!/usr/bin/env bash
# PioScreen in English and every language the stand-in library ships, each started
# in the locale of a machine of that language (its ANSI code page and fonts): pages
# 1, 2 and 4 and the three questions (exit, resolution, restart) are walked, each
# answered "No", and what the program drew (Wine's trace of DrawTextExW, after the
# system read the program's ANSI bytes) is checked against the language's own UTF-8
# source by check_languages.py.
# Usage: languages_e2e.sh DRIVER.exe GLYPH_PROBE.exe [LANGUAGE...]  (inside tools/wine-env.sh)
set -u
. "$(dirname "$0")/e2e_lib.sh"
e2e_begin languages "$1"
probe_exe=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
sources=$PIO_SOURCE_DIR/standins/DiZovadAzir/Languages

# drawn PATTERN MS: waits until the trace has one more DrawTextExW line matching
# PATTERN (grep -E) than it had when the step began ($mark), so that the step's
# painting is in the trace.
drawn() {
  local deadline=$(( $(date +%s%3N) + $2 ))
  while [ "$(grep -c -E -e "$1" "$trace")" -le "$(grep -c -E -e "$1" "$mark")" ]; do
    [ "$(date +%s%3N)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}
step() { cp "$trace" "$mark"; }
# where: the program's state, printed under a failed check (a run that goes wrong
# once in dozens is read from its report alone).
where() {
  echo "     (focus $(drive focus), dialog enabled $(drive self enabled)," \
    "yellow key enabled $(drive enabled 1038), boxes $(drive boxes))"
  [ -z "${stacks_shown:-}" ] && stacks && stacks_shown=1  # once: later checks may follow from it
}
# verdict NAME RC: a wait's result counted, with the program's state when it failed.
verdict() {
  check "$1" 0 "$2"
  [ "$2" = 0 ] || where
}
# seen NAME PATTERN: the step drew PATTERN within 10 s.
seen() { drawn "$2" 10000; verdict "$1" $?; }
key() { drive send 0x0100 "$1" 0 >/dev/null; }  # a key, handled when this returns
# press LPARAM: a remote control's coloured key, posted as the message controller does.
press() {
  drive post broadcast 0x2655 "$1" >/dev/null || echo "     (key $1 not posted: $(tr -d '\r' <"$work/driver.out"))"
}
VK_RIGHT=0x27; VK_DOWN=0x28

# question NAME: a question box comes up and draws its message; a click on "No"
# ($no_button: the left one in Arabic) answers it.
question() {
  drive box 10000 >/dev/null
  verdict "$1" $?
  # The message itself (not its measuring), drawn after the buttons' captions.
  check "$1 drawn" 0 "$(drawn '-\(370,180\)\] 0000001[56]' 10000; echo $?)"
  click "$no_button"
  check "$1 gone" 0 "$(drive nobox 5000 >/dev/null; echo $?)"
  settles "$1: the dialog is enabled again" 1 3000 drive self enabled
}

# shot GEOMETRY FILE: that part of the screen once two shots in a row agree (the
# preview pictures are painted after the texts), within 5 s.
shot() {
  local deadline=$(( $(date +%s) + 5 ))
  import -window root -crop "$1" +repage "$2"
  while [ "$(date +%s)" -lt "$deadline" ]; do
    sleep 0.2
    import -window root -crop "$1" +repage "$work/again.png"
    [ "$(compare -metric AE "$2" "$work/again.png" null: 2>&1)" = 0 ] && return 0
    mv "$work/again.png" "$2"
  done
}

locale_of() {  # the locale its language file names, else C
  local locale
  locale=$(sed -n 's/^; locale \([A-Za-z_]*\).*/\1/p' "$sources/$1.txt" 2>/dev/null | head -n 1)
  echo "${locale:-C}.UTF-8"
}

# With the stand-in TV display library: page 1 and the yellow key's way to page 4.
cp -r "$work/plain" "$work/tv"
cp "$PIO_DIST_DIR/testkit/atipdlxx.dll" "$PIO_DIST_DIR/testkit/atipdlxx.ini" "$work/tv/" 2>/dev/null
# Two favourites, so that page 2 shows slot captions: one at a preset DPI, one not.
appdata=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local | grep -v /Public/ | head -n 1)
favourites=$appdata/KAVO/Pio-Screen/ScreenConfig.ini
mkdir -p "$(dirname "$favourites")"
[ -f "$favourites" ] && mv "$favourites" "$work/ScreenConfig.kept"
printf '[Config]\r\n    Information_1 = 1024-600-96\r\n    Information_2 = 800-480-100\r\n' >"$favourites"

if [ $# -gt 0 ]; then
  languages=("$@")
else
  languages=(English)
  for f in "$sources"/*.txt; do languages+=("$(basename "$f" .txt)"); done
fi

for language in "${languages[@]}"; do
  # Wine's trace of what the program draws lands in the program's log.
  trace=$work/pioscreen.log
  mark=$work/mark.trace
  locale=$(locale_of "$language")
  no_button=1057
  [ "$language" = Arabic ] && no_button=1056
  : >"$mark"
  printf '[Language]\r\nName=%s\r\n' "$language" >"$work/tv/DiZovadAzir.ini"
  cp "$work/tv/DiZovadAzir.ini" "$work/plain/"
  drive setmode 1280 720 >/dev/null  # the size the resolution question starts from
  LC_ALL=$locale WINEDEBUG=trace+text start "$work/tv"
  if ! [[ $window_rect =~ ^-?[0-9]+\ -?[0-9]+\ -?[0-9]+\ -?[0-9]+$ ]]; then
    check "$language: window" shown "$window_rect"
    stacks
    "$PIO_WINESERVER" -k >/dev/null 2>&1; wait "$pio_pid" 2>/dev/null
    "$PIO_WINESERVER" -p >/dev/null 2>&1 </dev/null
    continue
  fi
  read -r left top right bottom <<<"$window_rect"
  check "$language: window" 1024x576 "$((right - left))x$((bottom - top))"
  seen "$language: page 1 drawn" '\[\(688,15\)-\(992,91\)\]'
  shot "1024x576+$left+$top" "$work/$language-page1.png"
  step
  press 0x0312005C  # green: page 2, the favourites
  seen "$language: page 2 slots drawn" '\[\(2,0\)-\(288,60\)\]'
  step
  press 0x0312005D  # yellow: page 4
  seen "$language: page 4 drawn" '\[\(712,94\)-\(922,144\)\]'
  # The exit question, "No".
  step
  xdotool key Escape
  question "$language: exit question"
  # The resolution question: one size up from 1280 x 720 and the green key, "No".
  # Pages 1 and 4 again first, so that the focus is where page 4 puts it.
  step
  press 0x0312005D  # yellow: page 1
  seen "$language: page 1 again" '\[\(707,97\)-\(982,217\)\]'
  step
  press 0x0312005D  # yellow: page 4
  seen "$language: page 4 again" '\[\(712,94\)-\(922,144\)\]'
  settles "$language: page 4 puts the focus on the small text size" 1052 5000 drive focus
  step
  key $VK_DOWN; key $VK_RIGHT
  # The step is checked before green is pressed: a key that never arrived then
  # reads as such, not as a question that never came.
  settles "$language: one size up makes the green key available" 1 3000 drive enabled 1037
  press 0x0312005C
  question "$language: resolution question"
  stop
  check "$language: closed" 0 "$(drive count)"
  cp "$trace" "$work/$language.trace"

  # The restart question, in a program started afresh (without the TV library it
  # opens on page 4, the focus on the small text size): the medium size and the
  # green key, "No".
  : >"$mark"
  drive setmode 1280 720 >/dev/null
  LC_ALL=$locale WINEDEBUG=trace+text start "$work/plain"
  seen "$language: page 4 drawn without the TV library" '\[\(712,94\)-\(922,144\)\]'
  # The keys go where the focus is: a program just started may be given it later
  # than it paints.
  settles "$language: the focus on the small text size" 1052 5000 drive focus
  step
  key $VK_RIGHT
  press 0x0312005C
  question "$language: restart question"
  "$PIO_WINE64" reg delete 'HKCU\SOFTWARE\KAVO\KvSrc' /v Range /f >/dev/null 2>&1 </dev/null
  stop
  check "$language: closed again" 0 "$(drive count)"
  cat "$trace" >>"$work/$language.trace"

  # What was drawn, against the language's source.
  while read -r verdict rest; do
    if [ "$verdict" = ok ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "$verdict $rest"; fi
  done < <(/usr/bin/python3 "$here/check_languages.py" check "$sources" "$work" "$language")
  # Glyphs for every text in the font the program asks for, in the language's locale.
  /usr/bin/python3 "$here/check_languages.py" texts "$sources" "$language" >"$work/$language.texts"
  LC_ALL=$locale "$PIO_WINE64" "$probe_exe" "$language" "$work/$language.texts" \
    >"$work/$language.glyphs" 2>/dev/null </dev/null
  check "$language: every character has a glyph ($(tr -d '\r' <"$work/$language.glyphs" | head -n 1))" 0 $?
  echo "$language ($locale) walked"
done

rm -f "$favourites"
drive setmode 1280 720 save >/dev/null
[ -f "$work/ScreenConfig.kept" ] && mv "$work/ScreenConfig.kept" "$favourites"
e2e_end
