#!/usr/bin/env bash
# The instruction-set check finds what it is for: planted.s holds one instruction of each kind a
# 486 lacks; the check must fail and name exactly those, at their addresses.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
i686-w64-mingw32-as -o "$work/planted.o" "$here/planted.s"
status=0
"$here/check_486.sh" "$work/planted.o" >"$work/out" || status=$?
cat "$work/out"
[ "$status" = 1 ] || { echo "FAIL: the check ended with $status, not 1"; exit 1; }
expected=$(grep -c 'lacking$' "$here/planted.s")
named=$(grep -cE '^  [0-9a-f]+  ' "$work/out")
[ "$named" = "$expected" ] || { echo "FAIL: $named instructions named, $expected planted"; exit 1; }
# Each named one is a planted one: the addresses objdump gives the marked lines.
i686-w64-mingw32-objdump -d --no-show-raw-insn "$work/planted.o" | grep -E '^ *[0-9a-f]+:' >"$work/all"
while read -r address _; do
  line=$(grep -E "^ *$address:" "$work/all")
  mnemonic=$(printf '%s' "$line" | sed -E 's/^ *[0-9a-f]+:\t//; s/[ \t].*//')
  grep -qE "^\s+(lock )?$mnemonic\b.*lacking$|^\s+lock\s+$mnemonic\b.*lacking$" "$here/planted.s" ||
    { echo "FAIL: $line is named but was not planted"; exit 1; }
done < <(grep -E '^  [0-9a-f]+  ' "$work/out")
echo "ok: the check named the $expected planted instructions and nothing else"
