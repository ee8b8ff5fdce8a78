#!/usr/bin/env bash
# Fails unless the 32-bit DLL, as it ships with its static runtime, runs on
# every processor and Windows version the player runs on: no instruction
# names an MMX, SSE or AVX register and every instruction is on
# dll-baseline/instructions.txt (Pentium Pro and x87); every import is on
# dll-baseline/imports.txt (Windows 95 and NT 4.0); the PE header asks for
# subsystem version 4.0 or lower.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dll=$1
objdump=i686-w64-mingw32-objdump
status=0
fail() { echo "check-dll-baseline: $*" >&2; status=1; }
listed() { grep -v '^#' "$here/dll-baseline/$1" | sort -u; }

# One line per instruction: address, mnemonic without prefixes, operands.
# Bytes that decode to no instruction ("(bad)", ".byte", a prefix alone) are
# data that the runtime keeps in the code section (constructor lists,
# constants of its assembly functions); the processor never runs them.
instructions=$("$objdump" -d --no-show-raw-insn -M intel "$dll" | awk -F'\t' '
    /^ *[0-9a-f]+:\t/ {
        n = split($2, word, " ")
        i = 1
        prefix = "^(rep|repz|repnz|repe|repne|lock|data16|addr16|cs|ds|es|ss|fs|gs|bnd|notrack)$"
        while (i < n && word[i] ~ prefix) i++
        if (word[i] == "(bad)" || word[i] == ".byte" || word[i] ~ prefix) next
        operands = ""
        for (j = i + 1; j <= n; j++) operands = operands " " word[j]
        sub(/<[^>]*>/, "", operands)
        print $1, word[i], operands
    }')
total=$(wc -l <<<"$instructions")
[ "$total" -gt 1000 ] || fail "only $total instructions found in $dll"

vector=$(grep -E '[ ,[][xyz]?mm[0-9]+\b' <<<"$instructions" || true)
if [ -n "$vector" ]; then
    fail "$(wc -l <<<"$vector") instructions name MMX/SSE/AVX registers, for example:"
    head -n 5 <<<"$vector" >&2
fi
unknown=$(awk '{print $2}' <<<"$instructions" | sort | uniq -c | awk 'NR == FNR {ok[$1] = 1; next} !($2 in ok)' \
    <(listed instructions.txt) - || true)
if [ -n "$unknown" ]; then
    fail "instructions outside the Pentium Pro and x87 set (count, mnemonic):"
    echo "$unknown" >&2
fi

dump=$("$objdump" -p "$dll")
imports=$(awk '/DLL Name:/ {dll = tolower($3); next}
               dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll, $3}
               /^$/ {dll = ""}' <<<"$dump" | sort -u)
[ -n "$imports" ] || fail "no imports found in $dll"
unlisted=$(comm -23 <(echo "$imports") <(listed imports.txt))
[ -z "$unlisted" ] || fail "imports missing from Windows 95 or NT 4.0 (not on dll-baseline/imports.txt):
$unlisted"

major=$(awk '/^MajorSubsystemVersion/ {print $2}' <<<"$dump")
minor=$(awk '/^MinorSubsystemVersion/ {print $2}' <<<"$dump")
if [ -z "$major" ] || [ "$major" -gt 4 ] || { [ "$major" -eq 4 ] && [ "$minor" -gt 0 ]; }; then
    fail "subsystem version ${major:-?}.${minor:-?} is newer than 4.0"
fi

[ "$status" -eq 0 ] || exit 1
echo "$total instructions, all Pentium Pro or x87; $(wc -l <<<"$imports") imports, all on the list;" \
    "subsystem version $major.$minor"
