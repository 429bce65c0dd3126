# The dialogs of the real Setup.exe, driven as a person would: keys through xdotool, and the
# DlgCtl helper for the controls a keyboard cannot reach (it finds a dialog by its title, clicks
# a control by its id and reads the controls' states back).
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

MAIN_TITLE="PCI Audio Device Driver And Applications Setup Program"
ARCH_TITLE="Windows 98SE/ME device-driver architecture selection"
SETUP_PID=""

# A CD with the suite installer stand-in in the three app folders and a setup.ini with these lines.
make_dialog_cd() {
  make_cd SuiteSetup.exe W95-98/app/Setup.exe SuiteSetup.exe W2K-ME/app/Setup.exe SuiteSetup.exe NT40/app/Setup.exe
  cp "$TVX_WIN32_DIR/DlgCtl.exe" "$WORK/DlgCtl.exe"
  if [ $# -gt 0 ]; then
    printf '[InstallOption]\r\n' >"$CD/setup.ini"
    printf '%s\r\n' "$@" >>"$CD/setup.ini"
  fi
}

# A fresh machine of this Windows version on the test display, with the dialog CD (and these
# setup.ini lines) in drive D.
dialog_machine() {
  local version=$1
  shift
  start_display
  new_prefix
  set_version "$version"
  make_dialog_cd "$@"
}

# The driver packages of the example CD, for the choices that install the driver.
add_driver_packages() {
  cp -r "$TVX_SOURCE_DIR/examples/cd/W95-98/drv" "$CD/W95-98/"
  cp -r "$TVX_SOURCE_DIR/examples/cd/W2K-ME/drv" "$CD/W2K-ME/"
  cp -r "$TVX_SOURCE_DIR/examples/cd/Dosdrv" "$CD/"
}

# Wine draws the windows' captions itself (there is no window manager on the test display), so
# that the pictures show them.
draw_captions() {
  as_wine_user env WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Starts Setup.exe from the CD in the background, with the message boxes answered unless
# ANSWER=0 (the test answers them itself).
start_setup() {
  [ "${ANSWER:-1}" = 0 ] || answer_message_boxes
  as_wine_user env WINEDEBUG=-all,+msgbox LANG="${SETUP_LANG:-en_US.UTF-8}" LC_ALL="${SETUP_LANG:-en_US.UTF-8}" \
    wine 'D:\Setup.exe' "$@" >"$WORK/stdout" 2>"$WORK/trace" &
  SETUP_PID=$!
}

# Waits until Setup.exe and everything it started have ended.
wait_setup() {
  local waited=0
  while kill -0 "$SETUP_PID" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    [ $waited -lt 200 ] || fail "Setup.exe did not end"
  done
  as_wine_user wineserver -w
  [ -z "${ANSWER_PID:-}" ] || stop_answering
}

# Waits until Setup.exe has ended by itself, within a few seconds.
expect_setup_ended() {
  for _ in $(seq 50); do
    kill -0 "$SETUP_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "Setup.exe is still running: $1"
}

dlgctl() {
  as_wine_user env WINEDEBUG=-all LANG=C.UTF-8 wine "$WORK/DlgCtl.exe" "$@" 2>/dev/null | tr -d '\r'
}

# Waits for a window whose X name matches the pattern (other than the window given second) and
# gives its X window id. X names carry only Latin-1: match the Latin part of Asian titles.
wait_window() {
  for _ in $(seq 150); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-none}" | head -1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "the window \"$1\" did not appear"
}

# Sends keys to a window as a person typing on it.
keys() {
  local window=$1
  shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers --delay 150 "$@"
  sleep 0.3
}

# Keeps a picture of one window in build/host/wine-screens/dialogs/NAME.png.
screenshot() {
  mkdir -p "$TVX_HOST_DIR/wine-screens/dialogs"
  sleep 0.5
  import -window "$1" "$TVX_HOST_DIR/wine-screens/dialogs/$2.png" 2>/dev/null || fail "no screenshot of $2"
}

# The states of the main dialog's check boxes and buttons, one line each.
main_states() {
  dlgctl state "$MAIN_TITLE" 1001 1002 1003 1 2
}

# What the suite installer stand-in was started as: path|command line|current directory.
suite_start() {
  peer_log | grep '^SuiteSetup|' | cut -d'|' -f2-4
}

# The marker file the suite installer finds.
markers() {
  tr -d '\r' <"$WINEPREFIX/drive_c/windows/TVXSETUP.INI" 2>/dev/null || echo "(no TVXSETUP.INI)"
}
