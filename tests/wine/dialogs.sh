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
  must "letting Wine draw the captions" as_wine_user env WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f
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

# Runs DlgCtl; when it fails, what it and Wine said goes to the test's output (stderr) and its
# exit code is returned.
dlgctl() {
  local status=0
  as_wine_user env WINEDEBUG=-all LANG=C.UTF-8 wine "$WORK/DlgCtl.exe" "$@" >"$WORK/dlgctl-out" 2>"$WORK/dlgctl-err" ||
    status=$?
  tr -d '\r' <"$WORK/dlgctl-out"
  if [ "$status" != 0 ]; then
    {
      echo "DlgCtl $* ended with exit code $status:"
      tr -d '\r' <"$WORK/dlgctl-out" | sed 's/^/    /'
      tr -d '\r' <"$WORK/dlgctl-err" | tail -n 20 | sed 's/^/    /'
    } >&2
  fi
  return "$status"
}

# Waits until the controls' states are as expected (DlgCtl state, one line a control), for at
# most 10 s: what a person sees once the dialog has taken their keys.
#   expect_state EXPECTED WHAT TITLE ID...
expect_state() {
  local expected=$1 what=$2 actual=""
  shift 2
  for _ in $(seq 50); do
    actual=$(dlgctl state "$@" 2>/dev/null || true)
    [ "$actual" = "$expected" ] && break
    sleep 0.2
  done
  expect_eq "$expected" "$actual" "$what"
}

# The same with the states written short: each control is its ID, "+" when checked or "-" when
# not, and "d" when disabled: "1011+d" stands for DlgCtl state's line "1011 checked disabled
# visible".  expect_controls TITLE WHAT CONTROL...
expect_controls() {
  local title=$1 what=$2 control id expected="" ids=()
  shift 2
  for control in "$@"; do
    id=${control%%[+-]*}
    ids+=("$id")
    expected+="${expected:+$'\n'}$id"
    case ${control#"$id"} in
      +) expected+=" checked enabled visible" ;;
      -) expected+=" unchecked enabled visible" ;;
      +d) expected+=" checked disabled visible" ;;
      -d) expected+=" unchecked disabled visible" ;;
      *) fail "expect_controls: no state in \"$control\"" ;;
    esac
  done
  expect_state "$expected" "$what" "$title" "${ids[@]}"
}

# Clicks a control of a dialog with the mouse, through the display, as a person does: the click
# reaches the dialog after every key sent before it. DlgCtl finds where the control is (and
# refuses a disabled or hidden one, which a mouse cannot click).
click() {
  local title=$1 id=$2 where
  where=$(dlgctl where "$title" "$id") || fail "cannot click control $id of \"$title\""
  # shellcheck disable=SC2086
  must "clicking control $id of \"$title\" at $where" xdotool mousemove --sync $where click 1
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

# Sends keys to a window as a person typing on it. What they do is seen by the waits that follow
# (expect_state, wait_window, wait_setup); a click through the display comes after them.
keys() {
  local window=$1
  shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window" 2>/dev/null || true
  must "typing $* on window $window" xdotool key --clearmodifiers --delay 150 "$@"
}

# Keeps a picture of one window in build/host/wine-screens/dialogs/NAME.png, once it is drawn.
screenshot() {
  mkdir -p "$TVX_HOST_DIR/wine-screens/dialogs"
  picture_of "$1" "$TVX_HOST_DIR/wine-screens/dialogs/$2.png" || fail "no picture of $2"
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
