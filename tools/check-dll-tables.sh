#!/usr/bin/env bash
# Fails unless the DLL exports exactly winampVisGetHeader (ordinal 1, under the
# name vis_kt.dll) and imports only Windows system DLLs.
set -euo pipefail
dll=$1
dump=$(i686-w64-mingw32-objdump -p "$dll")
fail() { echo "check-dll-tables: $*" >&2; exit 1; }

grep -q '^Name .*vis_kt\.dll$' <<<"$dump" || fail "export table does not name vis_kt.dll"
section() { awk -v head="$1" 'index($0, head){f=1; next} f&&/^[[:space:]]*$/{exit} f{print}' <<<"$dump"; }
names=$(section '[Ordinal/Name Pointer] Table' | sed 's/^\s*//')
addresses=$(section 'Export Address Table -- Ordinal Base 1' | sed 's/^\s*//')
[ "$names" = "[   0] winampVisGetHeader" ] || fail "expected the single export winampVisGetHeader, got: $names"
[ "$(wc -l <<<"$addresses")" -eq 1 ] && grep -q '^\[ *0\] +base\[ *1\] ' <<<"$addresses" \
  || fail "expected one export at ordinal 1, got: $addresses"

allowed='^(KERNEL32|USER32|GDI32|msvcrt)\.dll$'
while read -r name; do
  [[ "$name" =~ $allowed ]] || fail "unexpected import $name"
  echo "imports $name"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
echo "exports winampVisGetHeader @1"
