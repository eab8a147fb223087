# Shared by the PioScreen end-to-end scripts (sourced, inside tools/wine-env.sh):
#   e2e_begin NAME DRIVER.exe   a clean work folder $work with a test copy of the
#                               installed program in $work/plain
#   check NAME EXPECTED ACTUAL  counts and prints one check
#   drive ARGS...               the driver's answer and exit code, also left in
#                               $work/driver.out (one driver process serves them all)
#   settles NAME EXPECTED MS COMMAND...   the command's answer becomes EXPECTED in time
#   click ID                    a real click in the middle of the question's control
#   start [FOLDER] | stop       PioScreen as a user starts it (waits for its window);
#                               closed from the task bar, without a question (and
#                               ended when it does not close)
#   reap                        waits for the program's end (ending it if need be)
#   stacks                      prints the backtraces of PioScreen's threads
#   e2e_end                     prints "N passed, N failed"; the script's result

e2e_begin() {
  work=$PIO_BINARY_DIR/e2e-$1
  driver_exe=$2
  rm -rf "$work"
  mkdir -p "$work"
  passed=0
  failed=0
  cp -r "$PIO_DIST_DIR/PioScreen" "$work/plain"
  drive_serve
}

# drive_serve: one driver process answers every question of the script (a Wine
# process start per question took a fifth of a second), through two named pipes:
# Wine's helpers keep inherited pipes open, so nothing waits for their end.
drive_serve() {
  drive_pid=""
  rm -f "$work/drive.in" "$work/drive.answers"
  mkfifo "$work/drive.in" "$work/drive.answers" || return 0
  "$PIO_WINE64" "$driver_exe" serve <"$work/drive.in" >"$work/drive.answers" 2>/dev/null &
  drive_pid=$!
  exec {drive_to}>"$work/drive.in" {drive_from}<"$work/drive.answers"
}

check() {
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1)); echo "ok   $1"
  else
    failed=$((failed + 1)); echo "FAIL $1: expected '$2', got '$3'"
  fi
}

drive() {
  local began=$(date +%s%3N) rc="" line
  : >"$work/driver.out"
  # (The question is written in a subshell: a driver that has ended would end
  # the script with it.)
  if [ -n "$drive_pid" ] && kill -0 "$drive_pid" 2>/dev/null &&
     (printf '%s\n' "$*" >&"$drive_to") 2>/dev/null; then
    # Every command gives up within its own time, well under this one.
    while IFS= read -r -t 90 -u "$drive_from" line; do
      line=${line%$'\r'}
      [[ $line == "@@rc "* ]] && { rc=${line#@@rc }; break; }
      printf '%s\n' "$line" >>"$work/driver.out"
    done
    # No answer: the driver ended (the window server was stopped) or hangs; it
    # serves no more.
    [ -z "$rc" ] && kill "$drive_pid" 2>/dev/null
  fi
  if [ -z "$rc" ]; then
    # No driver serving: one process for this question alone.
    "$PIO_WINE64" "$driver_exe" "$@" >"$work/driver.out" 2>/dev/null </dev/null
    rc=$?
  fi
  tr -d '\r' <"$work/driver.out"
  # A key or a close that was slow to be delivered says so on the report (on
  # stderr, apart from the answer): a check after it may have failed only late.
  local took=$(( $(date +%s%3N) - began ))
  case $1 in post|send) [ "$took" -gt 3000 ] && echo "     (driver $* took $took ms)" >&2 ;; esac
  return $rc
}

settles() {
  local name=$1 expected=$2 ms=$3 got deadline
  shift 3
  deadline=$(( $(date +%s%3N) + ms ))
  while :; do
    got=$("$@")
    [ "$got" = "$expected" ] && break
    [ "$(date +%s%3N)" -ge "$deadline" ] && break
  done
  check "$name" "$expected" "$got"
}

click() {
  local l t r b x y
  read -r l t r b <<<"$(drive boxrect "$1")"
  x=$(( (l + r) / 2 )); y=$(( (t + b) / 2 ))
  # The system learns where the pointer is only from the moves it sees: the click
  # comes once it has the pointer there.
  xdotool mousemove "$x" "$y"
  drive cursor "$x" "$y" 5000 >/dev/null
  xdotool click 1
}

start() {
  (cd "${1:-$work/plain}" && exec "$PIO_WINE64" PioScreen.exe >"$work/pioscreen.log" 2>&1 </dev/null) &
  pio_pid=$!
  window_rect=$(drive wait 20000)
}

stop() {
  drive post 0x0112 0xF060 0 >/dev/null || echo "     (close not posted: $(tr -d '\r' <"$work/driver.out"))"
  # A program that does not end in time (a question it never answered, say) is
  # ended, so that the script never waits for it for ever; the check fails.
  if ! drive gone 10000 >/dev/null; then
    # What the window was doing, for the report: questions open, enabled or not.
    check "the program ends from the task bar" gone "still running ($(drive boxes) question \
box(es) open, dialog enabled: $(drive self enabled))"
    stacks
    drive kill >/dev/null
  fi
  wait "$pio_pid" 2>/dev/null
}

# A program that hangs, or stalls for seconds, once in hundreds of runs is read
# from the report alone: where each of its threads waits (system frames by name,
# the program's by offset).
stacks() {
  # Through a file: a helper it starts may keep a pipe open for ever.
  "$PIO_WINE64" winedbg --command "bt all" >"$work/stacks.raw" 2>&1 </dev/null
  tr -d '\r' <"$work/stacks.raw" >"$work/stacks.txt"
  if grep -q '^Backtracing for thread.*PioScreen\.exe' "$work/stacks.txt"; then
    awk '/^Backtracing for thread/ { keep = /PioScreen\.exe/ } keep' "$work/stacks.txt" | head -n 150 | sed 's/^/     /'
  else
    # No such process (it ended during its start): which ones run, and what the
    # system said about the start (a crash's report ends it).
    echo "     (no PioScreen process; processes:"
    grep '^Backtracing for thread' "$work/stacks.txt" | sed 's/.*(\(.*\)):$/\1/' | sort | uniq -c | sed 's/^/     /'
    echo "     the start's log:)"
    grep -v ":trace:" "$work/pioscreen.log" 2>/dev/null | tail -n 40 | sed 's/^/     /'
  fi
}

# reap: the program's end, waited for; a program still running is ended first.
reap() {
  drive kill >/dev/null
  wait "$pio_pid" 2>/dev/null
}

e2e_end() {
  if [ -n "$drive_pid" ]; then
    # Told to end: processes started since hold the pipe too, so it never ends.
    (printf 'quit\n' >&"$drive_to") 2>/dev/null
    exec {drive_to}>&- {drive_from}<&-
    local i
    for i in $(seq 50); do kill -0 "$drive_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$drive_pid" 2>/dev/null
    wait "$drive_pid" 2>/dev/null
  fi
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
