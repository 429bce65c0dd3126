#!/usr/bin/env bash
# tvxsim matrix on the example CD and downloads against their expected tables, and on CDs with
# faults of their own, which the matrix must find (exit code 1, the INCOMPLETE rows named).
# With TVX_UPDATE_EXPECTED=1 the expected tables are written instead.
set -euo pipefail
tvxsim=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
here="$source_dir/tests/matrix"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
cd "$source_dir"

# The matrix of a CD folder, run from a folder, against its expected table, exit code 0.
#   expect_matrix FROM CD EXPECTED
expect_matrix() {
  local status=0
  (cd "$1" && "$tvxsim" matrix "$2") >"$work/actual" || status=$?
  if [ "${TVX_UPDATE_EXPECTED:-0}" = 1 ]; then
    cp "$work/actual" "$3"
  else
    diff -u "$3" "$work/actual" || fail "the matrix of $2 differs from $(basename "$3")"
  fi
  [ "$status" = 0 ] || fail "the matrix of $2 ended with $status"
  echo "ok: $2"
}

# The example CD and downloads: every row as expected.
for cd in examples/cd examples/web-vxd examples/web-wdm; do
  expect_matrix "$source_dir" "$cd" "$here/$(basename "$cd").txt"
done

# The downloads with their option dialogs ("WebSetup" 1): defaults, changed choices, Cancel.
cp -r examples/web-vxd "$work/options-vxd"
printf '[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=0\r\nFullPackage=0\r\n' >"$work/options-vxd/setup.ini"
cp -r examples/web-wdm "$work/options-wdm"
printf '[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=1\r\n' >"$work/options-wdm/setup.ini"
for cd in options-vxd options-wdm; do
  expect_matrix "$work" "$cd" "$here/$cd.txt"
done

# The same rows as JSON.
"$tvxsim" matrix examples/cd --json >"$work/matrix.json"
python3 - "$work/matrix.json" <<'PY'
import json, sys
m = json.load(open(sys.argv[1]))
rows = m["rows"]
assert m["failing"] == 0 and len(rows) == 36, (m["failing"], len(rows))
me = [r for r in rows if r["os"] == "winme" and r["path"] == "main dialog: driver only"][0]
assert me["verdict"] == "complete" and me["restart"] is True and me["virtualTimeMs"] > 0, me
assert me["seen"][-1].startswith('"Setup": Setup completed!'), me["seen"]
PY
echo "ok: JSON"

# A CD with faults: the VxD package's disk entry with four fields (the install folder the setup
# appends lands in the fifth, which Windows does not read as the path) and a file the WDM INF
# names missing from the WDM package. Every row that installs either is INCOMPLETE.
cp -r examples/cd "$work/faulty"
sed -i 's/^1="Tarvic Driver Disk",,\r$/1="Tarvic Driver Disk",,,\r/' "$work/faulty/W95-98/drv/95/TVAUDIO.INF"
rm "$work/faulty/W2K-ME/drv/tvprop.dll"
status=0
"$tvxsim" matrix "$work/faulty" >"$work/faulty.txt" || status=$?
[ "$status" = 1 ] || { cat "$work/faulty.txt"; fail "the faulty CD's matrix ended with $status, not 1"; }
grep -q 'INCOMPLETE' "$work/faulty.txt" || fail "no INCOMPLETE row"
grep -q '^Windows 95, /DRIVER .*:$' "$work/faulty.txt" || fail "the VxD row of Windows 95 is not named"
grep -q 'TVAUDIO.INF \[SourceDisksFiles\] names TVAUDIO.VXD; not in C:\\WINDOWS\\INF' "$work/faulty.txt" ||
  fail "the VxD entry's fault is not named"
grep -q 'names tvprop.dll; not in C:\\PROGRA~1\\TARVIC\\W2K-ME' "$work/faulty.txt" || fail "the missing WDM file is not named"
grep -q '^Windows Me, main dialog: driver only' "$work/faulty.txt" || fail "the WDM row of Windows Me is not named"
if grep -q '^Windows 98 SE, /AP' "$work/faulty.txt"; then fail "a suite row is called INCOMPLETE"; fi
echo "ok: the faulty CD's rows are INCOMPLETE, named"

# A machine of one's own instead of the built-in ones, and a folder that is no CD.
"$tvxsim" matrix examples/cd --machine "$source_dir/tests/scenarios/winme-cd-driver-wdm/machine" \
  --machines "$work/rows" >"$work/own.txt"
[ -f "$work/rows/winme-3/machine.ini" ] || fail "the rows' machine folders were not kept"
grep -q '^Windows Me     main dialog: driver only .*complete (WDM driver' "$work/own.txt" || fail "own machine: $(cat "$work/own.txt")"
if "$tvxsim" matrix "$work/rows" 2>"$work/err"; then fail "a folder without SETUP.EXE was taken for a CD"; fi
grep -q 'no SETUP.EXE' "$work/err" || fail "no-CD message: $(cat "$work/err")"
echo "ok: --machine, --machines, not a CD"
