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
echo "ok: tvxsim command line"
