# Shared steps of the Wine tests: a 32-bit template prefix made once per build, copied for each
# test; an Xvfb display; the CD folder mapped as drive D; message boxes read from Wine's msgbox
# trace and answered with Return as a person would.
# Sourced once, however many of the test libraries a test uses.
[ -z "${TVX_WINE_LIB:-}" ] || return 0
TVX_WINE_LIB=1
set -euo pipefail

# Where this machine cannot run Wine's 32-bit programs the test is skipped (exit code 77, ctest's
# skip status for the Wine tests) with the reason. The test command asks once and hands the
# answer down; a test run by hand asks itself.
if [ -z "${TVX_WINE_SKIP_REASON+set}" ]; then
  TVX_WINE_SKIP_REASON=$("$(dirname "${BASH_SOURCE[0]}")/can_run_32bit.sh") || TVX_WINE_SKIP_REASON+=", so Setup.exe cannot be run under Wine"
fi
if [ -n "$TVX_WINE_SKIP_REASON" ]; then
  echo "Wine tests skipped: $TVX_WINE_SKIP_REASON"
  exit 77
fi

: "${TVX_WIN32_DIR:?build folder of the win32 preset}"
: "${TVX_HOST_DIR:?build folder of the host preset}"
: "${TVX_SOURCE_DIR:?source folder}"

export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine runs as an ordinary user: as root every file is writable whatever its read-only
# attribute, which no Windows user sees.
# Two tests start at once: the user is made under a lock.
AS_USER=()
if [ "$(id -u)" = 0 ]; then
  mkdir -p /tmp/tvx-wine
  (
    flock 9
    id tvxwine >/dev/null 2>&1 || useradd -m -s /bin/bash tvxwine
  ) 9>/tmp/tvx-wine/.user-lock
  AS_USER=(runuser -u tvxwine -- env HOME=/home/tvxwine)
fi
TEMPLATE="/tmp/tvx-wine/$(printf '%s' "$TVX_WIN32_DIR" | md5sum | cut -c1-12)/template"
TEST_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "/tmp/tvx-$TEST_NAME.XXXXXX")
export WINEPREFIX="$WORK/prefix"
CD="$WORK/cd"
XVFB_PID=""
chmod 755 "$WORK"
# Wine runs as another user: it starts in a folder of the test's own, whatever the caller's is.
cd "$WORK"

# The CD is read-only media: its files and folders stay root's, without write bits, so the Wine
# user sees every file read-only and every write fail. The rest of the work folder is the Wine
# user's.
seal_cd() {
  [ ${#AS_USER[@]} -eq 0 ] && return 0
  find "$WORK" -path "$CD" -prune -o -exec chown tvxwine: {} +
  chown -R root: "$CD"
  find "$CD" -type d -exec chmod 0555 {} +
  find "$CD" -type f -exec chmod 0444 {} +
}

# Runs a Wine command as the Wine user, in this test's prefix.
as_wine_user() {
  seal_cd
  "${AS_USER[@]}" env WINEPREFIX="$WINEPREFIX" WINEARCH=win32 WINEDLLOVERRIDES="$WINEDLLOVERRIDES" \
    DISPLAY="${DISPLAY:-}" "$@"
}

# Ends the test: any command that failed without a word of its own (set -e) is named, with what
# Wine said; then the test's processes and folder go.
cleanup() {
  local status=$? command=$BASH_COMMAND
  if [ "$status" != 0 ] && [ "$status" != 77 ] && [ -z "${REPORTED:-}" ]; then
    echo "FAIL: a command of the test failed (exit code $status); the last one run: $command" >&2
    wine_said
  fi
  [ -n "${ANSWER_PID:-}" ] && kill "$ANSWER_PID" 2>/dev/null || true
  as_wine_user wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  if [ "${TVX_KEEP:-0}" != 1 ]; then rm -rf "$WORK"; else echo "kept $WORK"; fi
}
trap cleanup EXIT

# What Wine's loader said in the test's trace, if a program could not start or crashed.
wine_said() {
  if [ -s "$WORK/trace" ] && grep -aq '^wine: ' "$WORK/trace"; then
    echo "  Wine said:" >&2
    grep -a '^wine: ' "$WORK/trace" | head -20 | sed 's/^/    /' >&2
  fi
}

fail() {
  REPORTED=1
  echo "FAIL: $*" >&2
  wine_said
  exit 1
}

# Runs one step of the test. When it fails, the test fails showing what the step was, the command
# and what it wrote (ctest --output-on-failure prints it):  must WHAT COMMAND...
must() {
  local what=$1 status=0
  shift
  "$@" >"$WORK/step-output" 2>&1 || status=$?
  [ "$status" = 0 ] && return 0
  step_failed "$what" "$status" "$WORK/step-output" "$@"
}

# The report of a failed step: step_failed WHAT STATUS OUTPUT-FILE COMMAND...
step_failed() {
  local what=$1 status=$2 output=$3
  shift 3
  REPORTED=1
  {
    echo "FAIL: $what (exit code $status)"
    echo "  command: $*"
    if [ -s "$output" ]; then
      echo "  its output (the last 40 lines):"
      tail -n 40 "$output" | sed 's/^/    /'
    else
      echo "  it wrote nothing"
    fi
  } >&2
  exit 1
}

expect_eq() {  # expected actual what
  if [ "$1" != "$2" ]; then
    REPORTED=1
    printf 'FAIL: %s\n  expected: %s\n  actual:   %s\n' "$3" "$1" "$2" >&2
    exit 1
  fi
  echo "ok: $3"
}

# A display of this test's own: Xvfb takes the first free display number and writes it down.
start_display() {
  local fd_file="$WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$fd_file" ] ||
    step_failed "starting the test display (Xvfb)" "$(kill -0 "$XVFB_PID" 2>/dev/null && echo "none, no display after 10 s" || echo ended)" \
      "$WORK/xvfb.log" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp
  export DISPLAY=":$(head -1 "$fd_file")"
}

# The template prefix, made once under a lock by the first test that needs it; the others wait
# for it. A template that was not made whole is never marked ready, and the next test tries again.
make_template() {
  mkdir -p "$(dirname "$TEMPLATE")"
  [ ${#AS_USER[@]} -eq 0 ] || chown tvxwine: /tmp/tvx-wine "$(dirname "$TEMPLATE")"
  (
    flock 9
    if [ ! -f "$TEMPLATE/.tvx-ready" ]; then
      rm -rf "$TEMPLATE"
      must "making the template prefix (wineboot)" "${AS_USER[@]}" env WINEPREFIX="$TEMPLATE" WINEARCH=win32 \
        WINEDLLOVERRIDES="$WINEDLLOVERRIDES" WINEDEBUG=-all DISPLAY= wineboot -i
      must "waiting for the template prefix's wineserver" "${AS_USER[@]}" env WINEPREFIX="$TEMPLATE" wineserver -w
      for made in system.reg user.reg drive_c/windows/system32/kernel32.dll; do
        [ -f "$TEMPLATE/$made" ] || fail "the template prefix $TEMPLATE has no $made after wineboot"
      done
      touch "$TEMPLATE/.tvx-ready"
    fi
  ) 9>"$(dirname "$TEMPLATE")/.lock" || { REPORTED=1; exit 1; }  # the step said what failed
}

# A fresh prefix for this test: copies of everything the tests may write, hard links for the
# system DLLs that nothing here changes.
new_prefix() {
  make_template
  mkdir -p "$WINEPREFIX"
  must "copying the template prefix" find "$TEMPLATE" -mindepth 1 -maxdepth 1 ! -name drive_c ! -name .tvx-ready \
    -exec cp -a {} "$WINEPREFIX/" ";"
  mkdir -p "$WINEPREFIX/drive_c"
  for entry in "$TEMPLATE"/drive_c/*; do
    if [ "$(basename "$entry")" = windows ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows"
      for w in "$entry"/*; do
        case "$(basename "$w")" in
          system32 | winsxs) must "linking the template's $(basename "$w")" cp -al "$w" "$WINEPREFIX/drive_c/windows/" ;;
          *) must "copying the template's windows/$(basename "$w")" cp -a "$w" "$WINEPREFIX/drive_c/windows/" ;;
        esac
      done
    else
      must "copying the template's $(basename "$entry")" cp -a "$entry" "$WINEPREFIX/drive_c/"
    fi
  done
  mkdir -p "$CD"
  ln -sfn "$CD" "$WINEPREFIX/dosdevices/d:"
}

set_version() {
  must "making Wine report itself as $1" as_wine_user env WINEDEBUG=-all wine reg add 'HKCU\Software\Wine' \
    /v Version /d "$1" /f
}

import_reg() {
  local path
  path=$(winepath_of "$1")
  must "importing $(basename "$1") into the registry" as_wine_user env WINEDEBUG=-all wine regedit /s "$path"
}

winepath_of() {
  local status=0
  as_wine_user env WINEDEBUG=-all winepath -w "$1" 2>"$WORK/winepath-errors" || status=$?
  [ "$status" = 0 ] || step_failed "the Windows path of $1" "$status" "$WORK/winepath-errors" winepath -w "$1"
}

# Copies a folder into another as Windows would see it: a name matching an existing one apart
# from case goes into that one (the machine's C:\WINDOWS is the prefix's C:\windows).
merge_folder() {
  python3 - "$1" "$2" <<'PY'
import os, shutil, sys
def merge(src, dst):
    os.makedirs(dst, exist_ok=True)
    existing = {name.lower(): name for name in os.listdir(dst)}
    for name in sorted(os.listdir(src)):
        target = os.path.join(dst, existing.get(name.lower(), name))
        if os.path.isdir(os.path.join(src, name)):
            merge(os.path.join(src, name), target)
        else:
            shutil.copyfile(os.path.join(src, name), target)
merge(sys.argv[1], sys.argv[2])
PY
}

# Lays the files of a machine folder's drive C into the prefix.
lay_drive_c() {
  merge_folder "$1" "$WINEPREFIX/drive_c"
}

# The folders a machine.ini names under [Drives] (D=../cd), one "letter folder" line each.
machine_drives() {
  awk -v dir="$1" '/^\[/ { section = tolower($0) } section == "[drives]" && /^[A-Za-z]=/ {
    print toupper(substr($0, 1, 1)), dir "/" substr($0, 3) }' "$1/machine.ini" | tr -d '\r'
}

# Runs a Windows program and waits for it and everything it started; its msgbox trace goes to
# $WORK/trace. Message boxes are answered by answer_message_boxes in the background.
# The program's own exit code is not looked at; a program Wine could not start is a failure.
run_wine() {
  as_wine_user env WINEDEBUG=-all,+msgbox wine "$@" >"$WORK/stdout" 2>"$WORK/trace" || true
  expect_started "$@"
  [ "${WAIT_FOR_ALL:-1}" = 1 ] && must "waiting for the programs to end (wineserver -w)" as_wine_user wineserver -w
  return 0
}

# Runs Setup.exe from a CD without the installer it looks for, with these arguments: one message
# box with this text, answered on the display, and nothing started.
#   missing_installer_case VERSION TEXT ARG...
missing_installer_case() {
  local version=$1 text=$2
  shift 2
  start_display
  new_prefix
  set_version "$version"
  make_cd
  answer_message_boxes
  run_wine 'D:\Setup.exe' "$@"
  stop_answering
  expect_eq "$text" "$(message_boxes)" "the message box text"
  [ -s "$WORK/answers" ] || fail "no message box captioned Setup was found on the display"
  echo "ok: a window captioned Setup was answered with Return"
  expect_eq "" "$(peer_log)" "nothing was started"
}

# Fails the test, showing what Wine said, when Wine could not start the program or it crashed.
expect_started() {
  if grep -aqE '^wine: (cannot find|could not load|failed to|Unhandled|chdir to|could not exec|.*not supported)' \
    "$WORK/trace" 2>/dev/null; then
    grep -a '^wine: ' "$WORK/trace" | head -20 >"$WORK/start-errors"
    step_failed "starting $1 under Wine" "see below" "$WORK/start-errors" wine "$@"
  fi
}

# Starts a stand-in suite window with this title and waits until it is on the display.
start_window() {
  as_wine_user env WINEDEBUG=-all wine 'C:\peers\SuiteWindow.exe' "$1" >"$WORK/window-$$.log" 2>&1 &
  for _ in $(seq 200); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  step_failed "the stand-in window \"$1\" did not open within 20 s" "none" "$WORK/window-$$.log" \
    wine 'C:\peers\SuiteWindow.exe' "$1"
}

# Waits until a line of the stand-ins' log matches the pattern.
wait_for_log() {
  for _ in $(seq 300); do
    peer_log | grep -q -- "$1" && return 0
    sleep 0.1
  done
  fail "no line matching \"$1\" in the stand-ins' log: $(peer_log)"
}

# The stand-ins, in C:\peers.
lay_peers() {
  mkdir -p "$WINEPREFIX/drive_c/peers"
  cp "$TVX_WIN32_DIR"/{SuiteWindow,SuiteSetup,Uninstaller,W2KSetup,World}.exe "$WINEPREFIX/drive_c/peers/"
}

# Lays a machine folder into the prefix: registry.reg imported, the drives C and D of [Drives] and
# then drives/C into drive C, drives/D as the read-only CD, the stand-ins in C:\peers, and machine.ini with the folder's other .reg
# files in C:\peers, where the winmm.dll stand-in and World.exe read the machine's events.
lay_machine() {
  local machine=$1 reg letter folder
  [ -f "$machine/registry.reg" ] && import_reg "$machine/registry.reg"
  while read -r letter folder; do
    case $letter in
      C) lay_drive_c "$folder" ;;
      D) merge_folder "$folder" "$CD" ;;
    esac
  done < <(machine_drives "$machine")
  [ -d "$machine/drives/C" ] && lay_drive_c "$machine/drives/C"
  [ -d "$machine/drives/D" ] && merge_folder "$machine/drives/D" "$CD"
  lay_peers
  cp "$machine/machine.ini" "$WINEPREFIX/drive_c/peers/machine.ini"
  for reg in "$machine"/*.reg; do
    [ -f "$reg" ] && [ "$(basename "$reg")" != registry.reg ] && cp "$reg" "$WINEPREFIX/drive_c/peers/"
  done
  return 0
}

# Puts the mixer-count winmm.dll beside the programs of a folder (the CD by default) and has Wine
# load a winmm.dll found there before its own. Programs elsewhere keep Wine's.
use_mixer_standin() {
  cp "$TVX_WIN32_DIR/winmm.dll" "${1:-$CD}/"
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b"
}

# Answers each message box captioned "Setup" (or whose caption matches the pattern given, or
# ANSWER_CAPTIONS) with Return until the program ends. The screen with the first box is kept in
# build/host/wine-screens/ for people to look at.
answer_message_boxes() {
  local captions=${1:-${ANSWER_CAPTIONS:-^Setup$}}
  mkdir -p "$TVX_HOST_DIR/wine-screens"
  (
    while true; do
      for w in $(xdotool search --onlyvisible --name "$captions" 2>/dev/null); do
        [ -s "$WORK/answers" ] || picture_of root "$TVX_HOST_DIR/wine-screens/$TEST_NAME.png" || true
        xdotool windowfocus --sync "$w" key --clearmodifiers Return 2>>"$WORK/answer-errors" || true
        echo "answered" >>"$WORK/answers"
        # The box is answered once it has gone (then the next one may come).
        for _ in $(seq 30); do
          xdotool search --onlyvisible --name "$captions" 2>/dev/null | grep -qx "$w" || break
          sleep 0.1
        done
      done
      sleep 0.2
    done
  ) &
  ANSWER_PID=$!
}

# A picture of a window (or "root", the whole display) once it is drawn: Wine paints a window
# after it appears, so the picture is taken again until it shows more than a few colours (at most
# 5 s; the last one is kept).  picture_of WINDOW FILE
picture_of() {
  local colours=0
  for _ in $(seq 50); do
    import -window "$1" "$2" 2>/dev/null || return 1
    colours=$(identify -format %k "$2" 2>/dev/null || echo 0)
    [ "$colours" -gt 4 ] && return 0
    sleep 0.1
  done
  return 0
}

stop_answering() {
  kill "$ANSWER_PID" 2>/dev/null || true
  wait "$ANSWER_PID" 2>/dev/null || true
}

# The texts of the message boxes the run showed, one per line.
message_boxes() {
  grep -a 'trace:msgbox:MSGBOX_OnInit' "$WORK/trace" | sed -e 's/.*MSGBOX_OnInit L"//' -e 's/"[[:space:]]*$//' || true
}

# Lines the stand-in programs wrote down, one per start.
peer_log() {
  tr -d '\r' <"$WINEPREFIX/drive_c/peers.log" 2>/dev/null || true
}

# A CD folder: Setup.exe, and the named stand-ins under the names the CD gives them.
# The real Setup.exe on the CD, under the name the CD gives its setup program.
setup_on_cd() {
  local name
  name=$(find "$CD" -maxdepth 1 -iname setup.exe -printf '%f\n' | head -1)
  cp "$TVX_WIN32_DIR/Setup.exe" "$CD/${name:-Setup.exe}"
}

make_cd() {
  cp "$TVX_WIN32_DIR/Setup.exe" "$CD/"
  while [ $# -gt 0 ]; do
    mkdir -p "$(dirname "$CD/$2")"
    cp "$TVX_WIN32_DIR/$1" "$CD/$2"
    shift 2
  done
}
