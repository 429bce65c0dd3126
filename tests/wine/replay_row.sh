#!/usr/bin/env bash
# One row of tvxsim matrix replayed on the real Setup.exe under Wine, as a person would take its
# path; what the run did is left as facts (tests/wine/replay_facts.py) in OUT.
#
#   replay_row.sh ROW-FOLDER OUT
#
# ROW-FOLDER is a row's machine folder (tvxsim matrix CD --machines DIR). The machine is laid into a
# prefix of its own: materialised by the simulator first (tvxsim boot ROW --out), so a CD given as
# a folder elsewhere or as a disc image is laid as Windows reads it; drive C, the registry, the CD
# as a read-only drive D, Wine's version set to the row's Windows. The CD's programs, which are
# placeholders, become stand-ins that write down how they were started; Setup.exe is the real one.
# Exit code 0 when the facts were written, 3 when Wine cannot take this row (a first-edition
# Windows 98), 77 where Wine cannot run here.
ROW=$(cd "$1" && pwd)
OUT=$(realpath -m "$2")
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# shellcheck source=dialogs.sh
source "$(dirname "${BASH_SOURCE[0]}")/dialogs.sh"
FACTS="$TVX_SOURCE_DIR/tests/wine/replay_facts.py"
RULES="$TVX_SOURCE_DIR/tests/wine/known-differences.ini"
ANSWER_CAPTIONS='^(Setup|SETUP|Information)$'

# A step of known-differences.ini, taken only where the file names it.
rule_applies() { grep -q "^apply = $1\$" "$RULES"; }

# The row's machine.ini: a key of [Machine], and the [Script] lines.
machine_key() { awk -v key="$1" -F= '/^\[/ { s = tolower($0) } s == "[machine]" && tolower($1) == key { v = $2 } END { print v }' "$ROW/machine.ini" | tr -d '\r'; }
script_lines() { awk '/^\[/ { s = tolower($0); next } s == "[script]" && !/^;/ && NF' "$ROW/machine.ini" | tr -d '\r'; }

os=$(machine_key os)
case $os in
  win98)
    rule_applies skip-first-edition-98 || fail "a first-edition Windows 98 row, and known-differences.ini does not say to skip it"
    REPORTED=1
    echo "not replayed: Wine has no first-edition Windows 98 (first-edition-98)"
    exit 3
    ;;
  win98se) wine_version=win98 ;;
  win95 | winme | nt40 | win2k | winxp) wine_version=$os ;;
  *) fail "the row's machine has no Windows Wine can be (os=$os)" ;;
esac

# The machine as the simulator lays it, and the simulator's own run of it for the comparison:
# with Wine's source-list stub, and Windows' start after a restart request.
laid="$WORK/laid"
must "laying the row's machine (tvxsim boot --out)" "$TVX_HOST_DIR/tvxsim" boot "$ROW" --out "$laid"
sim="$WORK/sim"
cp -r "$laid" "$sim"
if rule_applies sim-fails-SetupQuerySourceListA; then
  printf '\r\n[Machine]\r\nfails=SetupQuerySourceListA\r\n' >>"$sim/machine.ini"
fi
"$TVX_HOST_DIR/tvxsim" run "$sim" --json --out "$WORK/sim-after" >"$WORK/sim.json" || true
[ -s "$WORK/sim.json" ] || fail "the simulated machine's run of the row gave no report"
if rule_applies boot-the-simulated-machine-after-a-restart-request &&
  python3 -c 'import json,sys; sys.exit(0 if json.load(open(sys.argv[1]))["restart"] else 1)' "$WORK/sim.json"; then
  must "starting the simulated machine after its restart request" "$TVX_HOST_DIR/tvxsim" boot "$WORK/sim-after"
fi
python3 "$FACTS" snapshot "$laid/drives/C" "$WORK/sim-before.json"
python3 "$FACTS" snapshot "$WORK/sim-after/drives/C" "$WORK/sim-after.json"
touch "$laid/registry.reg" "$WORK/sim-after/registry.reg"
python3 "$FACTS" sim "$WORK/sim.json" "$WORK/sim-before.json" "$WORK/sim-after.json" "$laid/registry.reg" \
  "$WORK/sim-after/registry.reg" >"$OUT.sim"

# The prefix: Wine's version, the registry, drive C and the CD; the stand-ins.
start_display
new_prefix
set_version "$wine_version"
[ -s "$laid/registry.reg" ] && import_reg "$laid/registry.reg"
lay_drive_c "$laid/drives/C"
merge_folder "$laid/drives/D" "$CD"
lay_peers
cp "$laid/machine.ini" "$WINEPREFIX/drive_c/peers/machine.ini"
for reg in "$ROW"/*.reg; do
  [ "$(basename "$reg")" = registry.reg ] || cp "$reg" "$WINEPREFIX/drive_c/peers/"
done
# Every program of the machine is a placeholder ("MZ" and a line of text): each becomes a stand-in
# that writes down its start, the Windows 2000/XP installer the one for it, Setup.exe the real one.
python3 - "$WINEPREFIX/drive_c" "$CD" "$TVX_WIN32_DIR" <<'PY'
import os, shutil, sys
drive_c, cd, win32 = sys.argv[1:4]
for top in (drive_c, cd):
    for root, _, names in os.walk(top):
        if root.startswith(os.path.join(drive_c, "windows", "system32")) or root.startswith(os.path.join(drive_c, "peers")):
            continue
        for name in names:
            path = os.path.join(root, name)
            head = open(path, "rb").read(256)
            if not head.startswith(b"MZ") or b"PE\0\0" in head or len(head) > 200:
                continue
            upper = name.upper()
            stand_in = "W2KSetup.exe" if upper.startswith("W2KSETUP") else "SuiteSetup.exe"
            if top == cd and root == cd and upper == "SETUP.EXE":
                stand_in = "Setup.exe"
            shutil.copyfile(os.path.join(win32, stand_in), path)
PY
program=$(machine_key program)
program=${program:-D:\\SETUP.EXE}
rule_applies world-from-the-first-mixer-count || fail "known-differences.ini no longer says how the world is played"
use_mixer_standin "$CD"
cp "$TVX_WIN32_DIR/DlgCtl.exe" "$WORK/DlgCtl.exe"
# ExitWindowsEx is what asks Windows to restart: the relay trace shows its calls and nothing else.
must "tracing ExitWindowsEx" as_wine_user env WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\Debug' \
  /v RelayInclude /d 'user32.ExitWindowsEx' /f
python3 "$FACTS" snapshot "$WINEPREFIX/drive_c" "$WORK/wine-before.json"
must "exporting the registry before the run" as_wine_user env WINEDEBUG=-all wine regedit /e 'C:\before.reg'
mv "$WINEPREFIX/drive_c/before.reg" "$WORK/wine-before.reg"

# The person: the row's message answers and its again= rule for a box that comes back.
: >"$WORK/answered"
python3 - "$ROW/machine.ini" >"$WORK/message-steps" <<'PY'
import sys
section = ""
for line in open(sys.argv[1], encoding="latin-1").read().replace("\r", "").split("\n"):
    if line.startswith("["):
        section = line.strip().lower()
    elif section == "[script]" and line.lower().startswith(("message=", "again=")):
        print(line.split(";")[0].strip())
PY
answer_boxes() {
  local scripted again previous="" text caption answer count=0
  mapfile -t scripted < <(grep -i '^message=' "$WORK/message-steps" | cut -d= -f2)
  again=$(grep -i '^again=' "$WORK/message-steps" | cut -d= -f2 | tail -n 1)
  while true; do
    for w in $(xdotool search --onlyvisible --name "$ANSWER_CAPTIONS" 2>/dev/null); do
      caption=$(xdotool getwindowname "$w" 2>/dev/null) || continue
      # The box's text: the trace's next one (the box opened after Wine wrote it down).
      for _ in $(seq 20); do
        text=$(message_boxes | sed -n "$((count + 1))p")
        [ -n "$text" ] && break
        sleep 0.1
      done
      if [ "$count" -lt "${#scripted[@]}" ]; then
        answer=${scripted[$count]}
      elif [ -n "$again" ] && [ "$text" = "$previous" ] && dlgctl state "$caption" 2 >/dev/null 2>&1; then
        answer=$again
      else
        answer=OK
      fi
      case $answer in
        Cancel | cancel) key=Escape ;;
        No | no) key=n ;;
        *) key=Return ;;
      esac
      xdotool windowfocus --sync "$w" key --clearmodifiers "$key" 2>>"$WORK/answer-errors" || true
      printf '%s\t%s\n' "$caption" "$answer" >>"$WORK/answered"
      previous=$text
      count=$((count + 1))
      for _ in $(seq 30); do
        xdotool search --onlyvisible --name "$ANSWER_CAPTIONS" 2>/dev/null | grep -qx "$w" || break
        sleep 0.1
      done
    done
    sleep 0.2
  done
}
answer_boxes &
ANSWER_PID=$!

# Setup.exe started as the row starts it, its dialog steps clicked as a person clicks them.
read -ra args <<<"$(machine_key args)"
as_wine_user env WINEDEBUG=-all,+msgbox,+relay wine "$program" "${args[@]}" >"$WORK/stdout" 2>"$WORK/trace" &
SETUP_PID=$!
declare -A titles=([102]="$MAIN_TITLE" [130]="$ARCH_TITLE" [103]="PCI Audio Device Driver Setup Program for Windows 95/98/ME"
  [131]="PCI Audio Device Driver Setup Program for Windows 98SE/ME")
while read -r step; do
  case $step in
    click=*)
      id=${step#click=}
      id=${id%%;*}
      template=$(sed -n 's/.*dialog=\([0-9]*\).*/\1/p' <<<"$step")
      title=${titles[${template:-102}]}
      wait_window "^$title\$" >/dev/null
      click "$title" "$id"
      ;;
  esac
done < <(script_lines)

# The end of the run, and of what it started, within ten minutes.
for _ in $(seq 3000); do
  kill -0 "$SETUP_PID" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$SETUP_PID" 2>/dev/null && fail "Setup.exe did not end within ten minutes"
must "waiting for the programs to end (wineserver -w)" timeout 120 "${AS_USER[@]}" env WINEPREFIX="$WINEPREFIX" wineserver -w
stop_answering
expect_started "$program"

python3 "$FACTS" snapshot "$WINEPREFIX/drive_c" "$WORK/wine-after.json"
must "exporting the registry after the run" as_wine_user env WINEDEBUG=-all wine regedit /e 'C:\after.reg'
mv "$WINEPREFIX/drive_c/after.reg" "$WORK/wine-after.reg"
python3 "$FACTS" wine "$WORK/trace" "$WORK/answered" "$WINEPREFIX/drive_c/peers.log" "$WORK/wine-before.json" \
  "$WORK/wine-after.json" "$WORK/wine-before.reg" "$WORK/wine-after.reg" >"$OUT.wine"
echo "replayed: $(wc -l <"$OUT.wine") facts under Wine, $(wc -l <"$OUT.sim") in the simulator"
