#!/usr/bin/env bash
# Builds every flavour and runs every test tier:
#   host  - portable cores, GoogleTest under ASan/UBSan, bounded fuzzing
#   win64 - the deliverables; GoogleTest programs and end-to-end scenarios under wine64
#   win32 - the XP/Vista release flavour: built, installed and inspected (imports, exports)
# Ends with one line "N passed, N failed".
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
tools/install-deps.sh || { echo "dependency install failed"; exit 1; }
logs=$root/build/logs
mkdir -p "$logs"
passed=0; failed=0; broken=""

# count LOG: adds the CTest summary of one run to the totals.
count() {
  local line total fails
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$1" && return 0
    failed=$((failed + 1)); return 0
  fi
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - fails)); failed=$((failed + fails))
}

# build PRESET: configure, build and install; a failure counts as a failed test.
build() {
  # -U: a developer's narrowed PIO_COMPONENTS must not leave folders out here.
  if cmake --preset "$1" -UPIO_COMPONENTS >"$logs/$1-configure.log" 2>&1 &&
     cmake --build --preset "$1" >"$logs/$1-build.log" 2>&1 &&
     cmake --install "build/$1" >"$logs/$1-install.log" 2>&1; then
    echo "== $1: built"
    return 0
  fi
  echo "== $1: BUILD FAILED"; tail -n 60 "$logs/$1-configure.log" "$logs/$1-build.log" 2>/dev/null
  echo "$1" >>"$logs/broken"
  return 1
}

# run PRESET [WRAPPER...]: runs the preset's tests and prints their report. PIO_CTEST
# adds selection options; PIO_LOG names the report (the preset unless told).
run() {
  local preset=$1; shift
  local log=$logs/${PIO_LOG:-$preset}-test.log
  # shellcheck disable=SC2086  # PIO_CTEST holds separate options
  "$@" ctest --preset "$preset" -j"${PIO_TEST_JOBS:-2}" ${PIO_CTEST:-} >"$log" 2>&1
  cat "$log"
}

rm -f "$logs"/*-test.log "$logs/broken" "$logs/win64-LastTest.log"
others() { if build host; then run host; fi; if build win32; then run win32; fi; }
if build win64; then
  # The Windows programs' tests mostly wait for windows, timers and Wine: the other
  # two flavours build and run their tests meanwhile. Wine tests share one prefix
  # and one display, so they run one at a time.
  others >"$logs/others.out" 2>&1 &
  others_pid=$!
  PIO_TEST_JOBS=1 PIO_CTEST="-LE timing" run win64 tools/wine-env.sh build/win64/wineprefix
  cp build/win64/Testing/Temporary/LastTest.log "$logs/win64-LastTest.log" 2>/dev/null
  wait "$others_pid"
  cat "$logs/others.out"
  # The start-up figures, on a machine that does nothing else now.
  PIO_TEST_JOBS=1 PIO_CTEST="-L timing" PIO_LOG=win64-timing run win64 \
    tools/wine-env.sh build/win64/wineprefix
else
  others
fi
for log in host win64 win64-timing win32; do
  [ -f "$logs/$log-test.log" ] && count "$logs/$log-test.log"
done
if [ -f "$logs/broken" ]; then
  broken=" $(tr '\n' ' ' <"$logs/broken")"
  failed=$((failed + $(wc -l <"$logs/broken")))
fi

# The figures the timing programs and benchmarks printed, in one place.
figures=$(cat build/host/Testing/Temporary/LastTest.log "$logs/win64-LastTest.log" \
  build/win64/Testing/Temporary/LastTest.log 2>/dev/null |
  sed 's/\x1b\[[0-9;]*m//g' |  # GoogleTest's colours
  grep -a -E 'start-up|first paint|preview rebuild|burst of|floor|CreateContourRegion|per-pixel|median|reports/s|idle|wall time|package under Wine' |
  grep -a -v -E '^\[|Test command|/repeats:' | sort -u)
[ -n "$figures" ] && printf '\nFigures:\n%s\n\n' "$figures"

[ -n "$broken" ] && echo "Broken builds:$broken (logs in build/logs)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
