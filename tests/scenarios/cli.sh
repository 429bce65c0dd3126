#!/usr/bin/env bash
# tvxsim's command line: help, errors naming the file and line, JSON, --out and boot chaining.
set -euo pipefail
tvxsim=$1
scenarios=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$tvxsim" --help | grep -q '^usage: tvxsim run MACHINE' || fail "--help"
if "$tvxsim" frobnicate x 2>"$work/err"; then fail "an unknown command succeeded"; fi
grep -q 'unknown command "frobnicate"' "$work/err" || fail "unknown command message: $(cat "$work/err")"

mkdir -p "$work/bad"
printf '[Machine]\nos=winme\nprogram D:\\SETUP.EXE\n' >"$work/bad/machine.ini"
if "$tvxsim" run "$work/bad" 2>"$work/err"; then fail "a malformed machine.ini was accepted"; fi
grep -q 'machine.ini line 3: expected key=value' "$work/err" || fail "machine.ini error: $(cat "$work/err")"
printf '[Machine]\nos=winme\n' >"$work/bad/machine.ini"
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n"x"=dword:nothex\n' >"$work/bad/registry.reg"
if "$tvxsim" run "$work/bad" 2>"$work/err"; then fail "a malformed registry.reg was accepted"; fi
grep -q 'registry.reg line 4: bad dword' "$work/err" || fail "registry.reg error: $(cat "$work/err")"
rm "$work/bad/registry.reg"
printf '[Machine]\nos=winme\n[Script]\nclick=1001; dialog=102\nclose\nkey=F1\n' >"$work/bad/machine.ini"
if "$tvxsim" run "$work/bad" 2>"$work/err"; then fail "an unknown key in the script was accepted"; fi
grep -q 'machine.ini line 6: unknown key "F1"' "$work/err" || fail "script error: $(cat "$work/err")"
"$tvxsim" run --help | grep -q 'docs/machine.md' || fail "run --help does not point at the machine folder's page"

# JSON of a suite run parses and holds the uninstaller before the installer.
"$tvxsim" run "$scenarios/win98se-suite/machine" --json >"$work/run.json"
python3 - "$work/run.json" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
starts = [h["program"] for h in report["happenings"] if h["kind"] == "start"]
assert starts == ["C:\\Program Files\\Tarvic Sound Suite\\Uninst.exe", "D:\\W95-98\\app\\Setup.exe"], starts
assert report["exitCode"] == 0 and report["restart"] is False
assert any(c["path"].endswith("TVCDPLAY.INI") for c in report["files"])
PY

# --out writes the changed machine; a second run starts from it; boot carries out WININIT.INI.
"$tvxsim" run "$scenarios/win98se-suite/machine" --out "$work/after" >/dev/null
grep -q 'UsingCDDA=1' "$work/after/drives/C/WINDOWS/TVCDPLAY.INI" || fail "--out did not keep the run's changes"
! grep -q '^"Tarvic Sound Suite"=' "$work/after/registry.reg" || fail "--out kept the suite's start-up entry"
"$tvxsim" run "$work/after" | grep -q 'WM_CLOSE' && fail "the console was closed again in the second run"
mkdir -p "$work/after/drives/C/WINDOWS/SYSTEM"
printf 'old\r\n' >"$work/after/drives/C/WINDOWS/SYSTEM/TVMPU.EXE"
printf '[rename]\r\nC:\\WINDOWS\\SYSTEM\\TVMPU.OLD=C:\\WINDOWS\\SYSTEM\\TVMPU.EXE\r\n' >"$work/after/drives/C/WINDOWS/WININIT.INI"
"$tvxsim" boot "$work/after" | grep -q 'moved C:\\WINDOWS\\SYSTEM\\TVMPU.EXE to C:\\WINDOWS\\SYSTEM\\TVMPU.OLD' ||
  fail "boot did not report the move"
[ -f "$work/after/drives/C/WINDOWS/SYSTEM/TVMPU.OLD" ] || fail "boot did not update the machine folder"
[ ! -f "$work/after/drives/C/WINDOWS/WININIT.INI" ] || fail "WININIT.INI is still there after the start"
# A driver run, then Windows' start: the new mixer program takes the old one's place, which is kept
# as Mixer.old; the CD and the Windows drive named under [Drives] are written out as drives/.
"$tvxsim" run "$scenarios/win98se-cd-driver-wdm/machine" --json --out "$work/driver" >"$work/driver.json"
python3 - "$work/driver.json" <<'PY'
import json, re, sys
report = json.load(open(sys.argv[1]))
def keys(value):
    if isinstance(value, dict):
        for k, v in value.items():
            yield k
            yield from keys(v)
    elif isinstance(value, list):
        for v in value:
            yield from keys(v)
odd = sorted({k for k in keys(report) if not re.fullmatch(r"[a-z][A-Za-z]*", k)})
assert not odd, "keys not in camelCase: %s" % odd
sources = report["installationSources"]
assert sources["after"] == sources["before"] + ["C:\\Program Files\\Tarvic\\W2K-ME"], sources
sleeps = [h for h in report["happenings"] if h["kind"] == "sleep" and h["ms"] == "3000"]
assert len(sleeps) == 2 and all(s["then"] == "the mixer count" for s in sleeps), sleeps
assert report["restart"] is True and report["exitCode"] == 0
PY
[ -f "$work/driver/drives/D/W2K-ME/drv/TVAUDIO.INF" ] || fail "--out did not write the CD drive"
grep -q '^\[Drives\]' "$work/driver/machine.ini" && fail "--out kept [Drives] beside drives/"
"$tvxsim" boot "$work/driver" >"$work/boot.txt"
grep -q 'moved C:\\WINDOWS\\Mixer.dat to C:\\WINDOWS\\Mixer.exe' "$work/boot.txt" || fail "boot: $(cat "$work/boot.txt")"
grep -q 'MZ mixer, WDM package' "$work/driver/drives/C/WINDOWS/Mixer.exe" || fail "the new mixer is not in place"
grep -q 'MZ mixer, the one in use' "$work/driver/drives/C/WINDOWS/Mixer.old" || fail "the old mixer was not kept"
# A run that repeats itself: the CD taken out and never put back, the person answering the prompt
# for it with OK again and again. The run stops as hung when the same prompt has come back three
# times, exits 1, and its report folds the prompts into one line.
mkdir -p "$work/forever"
cp -r "$scenarios/win98se-dialog-cd-prompt/machine/drives" "$work/forever/"
printf '[Machine]\nos=win98se\n[Script]\nclick=1002\nclick=1; after=3 s\n' >"$work/forever/machine.ini"
for _ in 1 2 3 4 5 6; do printf 'message=OK; after=2 s\n' >>"$work/forever/machine.ini"; done
printf '[Events]\nevent=1 s; eject=D\n' >>"$work/forever/machine.ini"
status=0
"$tvxsim" run "$work/forever" >"$work/forever.txt" || status=$?
[ "$status" = 1 ] || fail "a hung run ended with $status"
grep -q '^The run did not end: hung: the same prompt came back 3 times ("Can not find the Tarvic Sound Suite setup program.")$' \
  "$work/forever.txt" || fail "the hung run does not say why: $(cat "$work/forever.txt")"
[ "$(grep -c 'message "Can not find the Tarvic' "$work/forever.txt")" = 1 ] || fail "the prompts are not folded"
grep -q '^  \[5.700 s\] (the line above came back 3 more times, until 9.700 s)$' "$work/forever.txt" ||
  fail "the folded line: $(cat "$work/forever.txt")"
echo "ok: tvxsim command line"
