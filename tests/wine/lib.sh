# Shared steps of the Wine tests: a 32-bit template prefix made once per build, copied for each
# test; an Xvfb display; the CD folder mapped as drive D; message boxes read from Wine's msgbox
# trace and answered with Return as a person would.
# Sourced once, however many of the test libraries a test uses.
[ -z "${TVX_WINE_LIB:-}" ] || return 0
TVX_WINE_LIB=1
set -euo pipefail

: "${TVX_WIN32_DIR:?build folder of the win32 preset}"
: "${TVX_HOST_DIR:?build folder of the host preset}"
: "${TVX_SOURCE_DIR:?source folder}"

export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine runs as an ordinary user: as root every file is writable whatever its read-only
# attribute, which no Windows user sees.
AS_USER=()
if [ "$(id -u)" = 0 ]; then
  id tvxwine >/dev/null 2>&1 || useradd -m -s /bin/bash tvxwine
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

cleanup() {
  [ -n "${ANSWER_PID:-}" ] && kill "$ANSWER_PID" 2>/dev/null || true
  as_wine_user wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  if [ "${TVX_KEEP:-0}" != 1 ]; then rm -rf "$WORK"; else echo "kept $WORK"; fi
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_eq() {  # expected actual what
  if [ "$1" != "$2" ]; then
    printf 'FAIL: %s\n  expected: %s\n  actual:   %s\n' "$3" "$1" "$2" >&2
    exit 1
  fi
  echo "ok: $3"
}

start_display() {
  local fd_file="$WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  [ -s "$fd_file" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$fd_file")"
}

# The template prefix, made by the first test that needs it.
make_template() {
  mkdir -p "$(dirname "$TEMPLATE")"
  [ ${#AS_USER[@]} -eq 0 ] || chown tvxwine: /tmp/tvx-wine "$(dirname "$TEMPLATE")"
  (
    flock 9
    if [ ! -f "$TEMPLATE/.tvx-ready" ]; then
      rm -rf "$TEMPLATE"
      "${AS_USER[@]}" env WINEPREFIX="$TEMPLATE" WINEARCH=win32 WINEDLLOVERRIDES="$WINEDLLOVERRIDES" \
        WINEDEBUG=-all DISPLAY= wineboot -i >/dev/null 2>&1
      "${AS_USER[@]}" env WINEPREFIX="$TEMPLATE" wineserver -w
      touch "$TEMPLATE/.tvx-ready"
    fi
  ) 9>"$(dirname "$TEMPLATE")/.lock"
}

# A fresh prefix for this test: copies of everything the tests may write, hard links for the
# system DLLs that nothing here changes.
new_prefix() {
  make_template
  mkdir -p "$WINEPREFIX"
  (cd "$TEMPLATE" && find . -mindepth 1 -maxdepth 1 ! -name drive_c -exec cp -a {} "$WINEPREFIX/" \;)
  mkdir -p "$WINEPREFIX/drive_c"
  for entry in "$TEMPLATE"/drive_c/*; do
    if [ "$(basename "$entry")" = windows ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows"
      for w in "$entry"/*; do
        case "$(basename "$w")" in
          system32 | winsxs) cp -al "$w" "$WINEPREFIX/drive_c/windows/" ;;
          *) cp -a "$w" "$WINEPREFIX/drive_c/windows/" ;;
        esac
      done
    else
      cp -a "$entry" "$WINEPREFIX/drive_c/"
    fi
  done
  mkdir -p "$CD"
  ln -sfn "$CD" "$WINEPREFIX/dosdevices/d:"
}

set_version() {
  as_wine_user env WINEDEBUG=-all wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
}

import_reg() {
  as_wine_user env WINEDEBUG=-all wine regedit /s "$(winepath_of "$1")" >/dev/null 2>&1
}

winepath_of() {
  as_wine_user env WINEDEBUG=-all winepath -w "$1" 2>/dev/null
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
run_wine() {
  as_wine_user env WINEDEBUG=-all,+msgbox wine "$@" >"$WORK/stdout" 2>"$WORK/trace" || true
  [ "${WAIT_FOR_ALL:-1}" = 1 ] && as_wine_user wineserver -w
  return 0
}

# Starts a stand-in suite window with this title and waits until it is on the display.
start_window() {
  as_wine_user env WINEDEBUG=-all wine 'C:\peers\SuiteWindow.exe' "$1" >/dev/null 2>&1 &
  for _ in $(seq 200); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "the window \"$1\" did not open"
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
      for w in $(xdotool search --name "$captions" 2>/dev/null); do
        if [ ! -s "$WORK/answers" ]; then
          sleep 0.3
          import -window root "$TVX_HOST_DIR/wine-screens/$TEST_NAME.png" 2>/dev/null || true
        fi
        xdotool windowfocus --sync "$w" key --clearmodifiers Return 2>/dev/null || true
        echo "answered" >>"$WORK/answers"
        sleep 0.5
      done
      sleep 0.2
    done
  ) &
  ANSWER_PID=$!
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
