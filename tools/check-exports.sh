#!/usr/bin/env bash
# check-exports.sh OBJDUMP FILE=name1,name2,...
# Fails unless each library exports exactly the given undecorated names.
set -u
objdump=$1; shift
status=0
for check in "$@"; do
  f=${check%%=*}
  want=$(printf '%s\n' "${check#*=}" | tr ',' '\n' | sort)
  have=$("$objdump" -p "$f" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
         | sed -n 's/^\s*\[\s*[0-9]*\]\s*\(\S*\)$/\1/p' | sort)
  if [ "$want" = "$have" ]; then
    echo "ok   $(basename "$f"): $(echo $have)"
  else
    echo "FAIL $(basename "$f") exports: $(echo $have); expected: $(echo $want)"; status=1
  fi
done
exit $status
