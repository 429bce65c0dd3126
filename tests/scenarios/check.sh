#!/usr/bin/env bash
# Runs one scenario machine through tvxsim and compares the report with the expected one.
# With TVX_UPDATE_EXPECTED=1 the expected report is written instead.
set -euo pipefail
tvxsim=$1
dir=$2
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
"$tvxsim" run "$dir/machine" > "$actual"
if [ "${TVX_UPDATE_EXPECTED:-0}" = 1 ]; then
  cp "$actual" "$dir/expected.txt"
  exit 0
fi
diff -u "$dir/expected.txt" "$actual"
