#!/usr/bin/env bash
# tvxsim matrix on the example CD and downloads against their expected tables, and on CDs with
# faults of their own, which the matrix must find (exit code 1, the failing rows named).
# With TVX_UPDATE_EXPECTED=1 the expected tables are written instead.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

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
grep -q 'TVAUDIO.INF names tvprop.dll, which is not on the CD (W2K-ME\\drv\\tvprop.dll)' "$work/faulty.txt" ||
  fail "the missing WDM file is not named"
grep -q '^Windows Me, main dialog: driver only' "$work/faulty.txt" || fail "the WDM row of Windows Me is not named"
if grep -q '^Windows 98 SE, /AP' "$work/faulty.txt"; then fail "a suite row is called INCOMPLETE"; fi
echo "ok: the faulty CD's rows are INCOMPLETE, named"

# The sign-off of a faulty copy of the example CD: exit 1, exactly the rows ROWS (a pattern over
# "Windows, path" of the failing rows, one a line) failing, the closing line giving REASON, no row
# hung, and the outputs small whatever a row did.
#   expect_failing NAME ROWS REASON [OPTIONS...]   (the copy is $work/NAME, already changed)
expect_failing() {
  local name=$1 rows=$2 reason=$3
  shift 3
  local status=0
  "$tvxsim" matrix "$work/$name" --json "$@" >"$work/$name.json" || true
  "$tvxsim" matrix "$work/$name" --html "$work/$name-html" "$@" >"$work/$name.txt" || status=$?
  [ "$status" = 1 ] || fail "$name: the matrix ended with $status, not 1"
  local last
  last=$(tail -n 1 "$work/$name.txt")
  [ "${last#NOT signed off: }" != "$last" ] || last=$(tail -n 2 "$work/$name.txt" | head -n 1)
  grep -qF -- "$reason" <<<"$last" || fail "$name: the closing line does not give \"$reason\": $last"
  python3 - "$work/$name.json" "$rows" "$name" <<'PY' || fail "$name: the failing rows"
import json, re, sys
m = json.load(open(sys.argv[1]))
failing = sorted(f'{r["windows"]}, {r["path"]}' for r in m["rows"] if r["signOff"] == "FAILS")
wanted = sorted(l for l in sys.argv[2].split("\n") if l)
assert failing == wanted, f"{sys.argv[3]}: failing rows {failing}, wanted {wanted}"
assert m["failing"] == len(failing), (m["failing"], len(failing))
hung = [r["path"] for r in m["rows"] if r["verdict"] in ("hung", "crashed")]
assert not hung, f"{sys.argv[3]}: rows that did not end: {hung}"
PY
  grep -q 'class="verdict incomplete" id="verdict"' "$work/$name-html/index.html" || fail "$name: the HTML banner is not red"
  local text html
  text=$(cat "$work/$name.txt" "$work/$name.json" | wc -c)
  html=$(du -cb "$work/$name-html" | tail -n 1 | cut -f1)
  [ "$text" -lt 1000000 ] || fail "$name: $text bytes of text and JSON"
  [ "$html" -lt 5000000 ] || fail "$name: $html bytes of HTML"
  echo "ok: $name fails the sign-off ($(wc -l <<<"$rows") rows; $text bytes of text and JSON, $html of HTML)"
}
fresh() { rm -rf "${work:?}/$1" && cp -r examples/cd "$work/$1"; }
wdm_rows='Windows 98, main dialog: applications and driver
Windows 98, main dialog: driver only
Windows 98, /DRIVER
Windows 98 SE, main dialog: applications and driver
Windows 98 SE, main dialog: driver only
Windows 98 SE, /DRIVER
Windows Me, main dialog: applications and driver
Windows Me, main dialog: driver only
Windows Me, /DRIVER'

# The staged WDM driver is held to its package as the registered one is: on Me the suite's
# installer is left to finish it from the install folder, which lacks the driver, or its catalog.
fresh no-sys && rm "$work/no-sys/W2K-ME/drv/tvaudio.sys"
expect_failing no-sys "$wdm_rows" 'TVAUDIO.INF names tvaudio.sys, which is not on the CD (W2K-ME\drv\tvaudio.sys)'
fresh no-catalog && rm "$work/no-catalog/W2K-ME/drv/tvaudio.cat"
expect_failing no-catalog "$wdm_rows" 'TVAUDIO.INF names tvaudio.cat, which is not on the CD'
# A [SourceDisksNames] path into a sub-folder the package lacks: the INF copies the setup rewrites
# point at the install folder and serve on 98 SE; every other row reads the INF as shipped.
fresh sub-folder
sed -i 's/^200="Tarvic WDM Audio Driver Disk",,,\r$/200="Tarvic WDM Audio Driver Disk",,,\\drivers\r/' \
  "$work/sub-folder/W2K-ME/drv/TVAUDIO.INF"
expect_failing sub-folder "$(grep -v '98 SE, [m/].*only\|98 SE, /DRIVER' <<<"$wdm_rows")" \
  'names tvaudio.sys; not in C:\Program Files\Tarvic\W2K-ME\drivers'
# Content, not only presence: an empty driver file is the CD's fault, named as such.
fresh empty-sys && : >"$work/empty-sys/W2K-ME/drv/tvaudio.sys"
expect_failing empty-sys "$wdm_rows" 'tvaudio.sys is empty on the CD (W2K-ME\drv\tvaudio.sys)'
fresh no-mesetup && rm "$work/no-mesetup/W2K-ME/drv/MESetup.dat"
expect_failing no-mesetup "$(grep 'applications and driver' <<<"$wdm_rows")" \
  'TVXSETUP.INI [Need_To_InstallDriver] Command names C:\PROGRA~1\TARVIC\W2K-ME\MESetup.dat, which is not there'

# A CD that cannot serve a path: the person was right to be told, the CD is broken all the same.
fresh no-handoff && rm "$work/no-handoff/W2KSetup.exe"
expect_failing no-handoff $'Windows 2000, as started\nWindows 2000, /DRIVER\nWindows XP, as started\nWindows XP, /DRIVER' \
  'the 2000/XP installer (W2KSetup.dat or W2KSetup.exe) is missing from the CD'
fresh no-nt40 && rm -r "$work/no-nt40/NT40"
expect_failing no-nt40 "$(printf 'Windows NT 4.0, %s\n' 'main dialog: applications and driver' 'main dialog: applications only' \
  'main dialog: driver only' 'main dialog: Cancel' /AP)" 'NT40\app\Setup.exe is missing from the CD'
# ... unless the CD says it does not serve that Windows.
"$tvxsim" matrix "$work/no-nt40" --without nt40 >"$work/no-nt40-without.txt" || fail "--without nt40 still fails"
grep -q '^Windows NT 4.0 .* not served ' "$work/no-nt40-without.txt" || fail "the NT 4.0 rows are not shown as not served"
tail -n 1 "$work/no-nt40-without.txt" | grep -q '^signed off: .*(not served: Windows NT 4.0)$' || fail "--without: closing line"
if "$tvxsim" matrix "$work/no-nt40" --without nt4 2>"$work/err"; then fail "an unknown Windows after --without was taken"; fi
grep -q 'unknown Windows "nt4"' "$work/err" || fail "--without nt4: $(cat "$work/err")"
fresh no-95 && rm -r "$work/no-95/W95-98/drv/95"
expect_failing no-95 $'Windows 95, main dialog: applications and driver\nWindows 95, main dialog: driver only\nWindows 95, /DRIVER' \
  'W95-98\drv\95 is missing from the CD, and the driver package W95-98\drv on the CD holds no INF file naming its disk 1'
fresh inf-case
for d in W95-98/drv/95 W95-98/drv/98 W2K-ME/drv; do mv "$work/inf-case/$d/TVAUDIO.INF" "$work/inf-case/$d/TVAUDIO.Inf"; done
expect_failing inf-case "$(printf 'Windows 95, %s\n' 'main dialog: applications and driver' 'main dialog: driver only' /DRIVER)
$wdm_rows" '(TVAUDIO.Inf: a name must hold ".inf" or ".INF")'
# A download whose setup.ini misspells WebSetup is taken for a CD: every row but the hand-off's
# Windows 2000 and XP (which the download lacks by design all the same) fails, and says why.
cp -r examples/web-vxd "$work/web-typo"
sed -i 's/^WebSetup=/WebStup=/' "$work/web-typo/setup.ini"
"$tvxsim" matrix "$work/web-typo" >"$work/web-typo.txt" && fail "a download read as a CD signs off"
grep -q 'is it a download whose setup.ini lacks WebSetup?' "$work/web-typo.txt" || fail "the misspelt WebSetup is not pointed at"

# A row that would loop: W2K-ME\app\Setup.exe missing. On 98 the main dialog finds the VxD suite,
# the driver run stages the WDM one, and the insert-CD prompt comes: OK once, Cancel when it comes
# back, and the staged driver is finished. No row hangs; every output stays small.
fresh no-wdm-suite && rm "$work/no-wdm-suite/W2K-ME/app/Setup.exe"
expect_failing no-wdm-suite "$(printf 'Windows 98 SE, %s\n' 'main dialog: applications and driver' 'main dialog: applications only' \
  'main dialog: driver only' 'main dialog: Cancel'; printf 'Windows Me, %s\n' 'main dialog: applications and driver' \
  'main dialog: applications only' 'main dialog: driver only' 'main dialog: Cancel'
printf '%s\n' 'Windows 98 SE, /AP' 'Windows Me, /AP' 'Windows 2000, /AP' 'Windows XP, /AP' 'Windows 98, main dialog: applications and driver')" \
  'W2K-ME\app\Setup.exe is missing from the CD'
grep -q '^Windows 98     main dialog: applications and driver .* FAILS .*complete (WDM driver' "$work/no-wdm-suite.txt" ||
  fail "the prompt given up: the staged driver is not finished"
grep -q 'seen: .*"Setup": Can not find the...; "Setup": Can not find the... -> Cancel; "Setup": Setup completed!' \
  "$work/no-wdm-suite.txt" || fail "the prompt is not answered OK once, then Cancel"

# Without --machines, the failing rows' machine folders stay where the output says.
kept=$(sed -n 's/^The failing rows.* kept in \(.*\) (tvxsim run FOLDER runs one again)\.$/\1/p' "$work/no-handoff.txt")
{ [ -n "$kept" ] && [ -f "$kept/win2k-1/machine.ini" ]; } || fail "the failing rows' machine folders were not kept"
[ ! -e "$kept/win95-1" ] || fail "a passing row's machine folder was kept"
grep -q "^Windows 2000, as started ($kept/win2k-1):" "$work/no-handoff.txt" || fail "the kept folder is not the one named"
status=0
"$tvxsim" run "$kept/win2k-1" >/dev/null || status=$?
[ "$status" = 1 ] || fail "tvxsim run of a failing row ended with $status"
for f in "$work"/*.txt; do
  k=$(sed -n 's/^The failing rows.* kept in \(.*\) (tvxsim.*$/\1/p' "$f")
  if [ -n "$k" ]; then rm -rf "$k"; fi
done
echo "ok: the failing rows' machine folders kept, and run again"

# A machine of one's own instead of the built-in ones, and a folder that is no CD.
"$tvxsim" matrix examples/cd --machine "$source_dir/tests/scenarios/winme-cd-driver-wdm/machine" \
  --machines "$work/rows" >"$work/own.txt"
[ -f "$work/rows/winme-3/machine.ini" ] || fail "the rows' machine folders were not kept"
grep -q '^Windows Me     main dialog: driver only .*complete (WDM driver' "$work/own.txt" || fail "own machine: $(cat "$work/own.txt")"
if "$tvxsim" matrix "$work/rows" 2>"$work/err"; then fail "a folder without SETUP.EXE was taken for a CD"; fi
grep -q 'no SETUP.EXE' "$work/err" || fail "no-CD message: $(cat "$work/err")"
echo "ok: --machine, --machines, not a CD"
