#!/usr/bin/env bash
# Runs one scenario machine through tvxsim and compares the report with the expected one; the
# exit code must say what the report's sign-off line says (1 when the run fails it).
# With TVX_UPDATE_EXPECTED=1 the expected report is written instead.
set -euo pipefail
tvxsim=$1
dir=$2
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
status=0
"$tvxsim" run "$dir/machine" >"$actual" || status=$?
if [ "${TVX_UPDATE_EXPECTED:-0}" = 1 ]; then
  cp "$actual" "$dir/expected.txt"
  exit 0
fi
diff -u "$dir/expected.txt" "$actual"
wanted=0
grep -q '^sign-off: FAILS' "$actual" && wanted=1
[ "$status" = "$wanted" ] || { echo "FAIL: tvxsim run ended with $status, its sign-off line asks for $wanted" >&2; exit 1; }
