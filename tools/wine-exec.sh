#!/usr/bin/env bash
# Runs one Windows program under wine64 and passes on its output and exit code.
# The output goes through a file: Wine's helper processes inherit the standard
# handles and would otherwise keep the caller's pipe open after the program ends.
set -u
WINE64=${PIO_WINE64:-/usr/lib/wine/wine64}
out=$(mktemp)
"$WINE64" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
