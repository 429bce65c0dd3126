# The option dialogs of the driver download under Wine, driven by the machine folder's own dialog
# steps as a person would: keys through xdotool, and DlgCtl for the radio buttons, which carry no
# tab stop. What Wine ends in is compared with the simulated machine's run of the same folder.
#
# Wine's WritePrivateProfileStringA rewrites the whole file in its own form (blank lines dropped,
# "key = value" written "key=value", every line end CR LF), where Windows keeps the file's other
# lines as they are. The VxD INF copies get their source disk written that way, so the downloads
# of these tests carry INF files already in that form, with CR LF and with bare LF line ends. The
# staged WDM copies are patched without the profile functions and compare whatever their form.
# The folder is taken first: the shared steps move into the test's own folder.
WINE_TESTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=dialogs.sh
source "$WINE_TESTS_DIR/dialogs.sh"
# shellcheck source=engine.sh
source "$WINE_TESTS_DIR/engine.sh"

VXD_TITLE="PCI Audio Device Driver Setup Program for Windows 95/98/ME"
WDM_TITLE="PCI Audio Device Driver Setup Program for Windows 98SE/ME"
OPTIONS_CHECK="$TVX_SOURCE_DIR/tests/wine/machines/options/check.ini"
# The refusals: "Information" on NT, the program's name for the WDM driver.
ANSWER_CAPTIONS='^(Setup|SETUP|Information)$'
OPTIONS_STARTED=0

# options_start MACHINE WINE-VERSION [PICTURE]: lays the machine folder of tests/wine/machines
# with the stand-ins, starts the real Setup.exe from the download in drive D and waits for its
# option dialog (the X window in DIALOG, the title in TITLE); with a picture name, keeps a picture
# of the dialog with its caption in build/host/wine-screens/dialogs/.
options_start() {
  MACHINE="$TVX_SOURCE_DIR/tests/wine/machines/$1"
  start_display
  new_prefix
  set_version "$2"
  [ -z "${3:-}" ] || draw_captions
  lay_machine "$MACHINE"
  setup_on_cd
  use_mixer_standin
  cp "$TVX_WIN32_DIR/DlgCtl.exe" "$WORK/DlgCtl.exe"
  mkdir -p "$WINEPREFIX/drive_c/probe"
  cp "$OPTIONS_CHECK" "$WINEPREFIX/drive_c/probe/check.ini"
  cp "$TVX_WIN32_DIR/state_probe.exe" "$WINEPREFIX/drive_c/probe/"
  TITLE=$VXD_TITLE
  if tr -d '\r' <"$CD/setup.ini" | grep -qx 'InstallWDMDriver=1'; then TITLE=$WDM_TITLE; fi
  OPTIONS_STARTED=$(date +%s)
  start_setup
  DIALOG=$(wait_window "^$TITLE\$")
  [ -z "${3:-}" ] || screenshot "$DIALOG" "$3"
}

# The machine's dialog steps (key=Tab|Space|Return|Escape, click=ID), one a line.
dialog_steps() {
  awk '/^\[/ { section = tolower($0) } section == "[script]" && /^(key|click)=/ { sub(/[ \t]*;.*/, ""); print }' \
    "$MACHINE/machine.ini" | tr -d '\r'
}

# Does one step in the dialog: a key pressed on it, or a control clicked with DlgCtl.
play_step() {
  case $1 in
    key=Space) keys "$DIALOG" space ;;
    key=*) keys "$DIALOG" "${1#key=}" ;;
    click=*) click "$TITLE" "${1#click=}" ;;
  esac
}

# Plays the steps numbered FIRST to LAST (from 1).
play_steps() {
  local step
  while read -r step; do play_step "$step"; done < <(dialog_steps | sed -n "$1,$2p")
}

# Plays every step but the last, which is the one that ends the dialog.
play_steps_before_the_last() {
  play_steps 1 $(($(dialog_steps | wc -l) - 1))
}

# Plays the last step, waits for the run to end and leaves the state Wine ended in in
# $WORK/wine.txt, the simulated machine's in $WORK/sim.txt (Wine carries out WININIT.INI when the
# program asks for the restart; the simulated machine when Windows starts again).
play_the_last_step_and_compare() {
  play_step "$(dialog_steps | tail -1)"
  wait_setup
  as_wine_user env WINEDEBUG=-all wine 'C:\probe\state_probe.exe' | tr -d '\r' >"$WORK/wine.txt"
  "$TVX_HOST_DIR/state_probe_sim" "$MACHINE" restart "$OPTIONS_CHECK" >"$WORK/sim.txt"
  OPTIONS_SECONDS=$(($(date +%s) - OPTIONS_STARTED))
}

# The option lines of a file as the state probe printed it from Wine: "|line|" and its line end.
# The path goes through the environment: awk -v would take its backslashes for escapes.
option_lines() {
  OPTION_FILE="contents $1:" awk '
    $0 == ENVIRON["OPTION_FILE"] { on = 1; next }
    /^[^ ]/ { on = 0 }
    on && /\|HKR,(Config,|"Settings")/ { sub(/^  /, ""); print }' "$WORK/wine.txt"
}

# The option lines of the VxD INF copies in the INF folder, each option 0 or 1 as given. The CR LF
# copy has one line of each option; in the LF copy (rewritten by Wine's profile functions, so with
# CR LF now) the first line of each is the option's, and three later ones stay as shipped.
#   expect_vxd_option_lines DISMPU DISJSTK LINEINasREAR LINEINasBASS MICasBASS
expect_vxd_option_lines() {
  expect_eq "|HKR,Config,DISMPU,1,$1|<CR><LF>
|HKR,Config,DISJSTK,1,$2|<CR><LF>
|HKR,Config,LINEINasREAR,1,$3|<CR><LF>
|HKR,Config,LINEINasBASS,1,$4|<CR><LF>
|HKR,Config,MICasBASS,1,$5|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVAUDIO.INF')" "the CR LF copy"
  expect_eq "|HKR,Config,MICasBASS,1,$5|<CR><LF>
|HKR,Config,LINEINasBASS,1,$4|<CR><LF>
|HKR,Config,LINEINasREAR,1,$3|<CR><LF>
|HKR,Config,DISJSTK,1,$2|<CR><LF>
|HKR,Config,DISMPU,1,$1|<CR><LF>
|HKR,Config,MICasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,DISMPU,1,0|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVLF.INF')" "the LF copy"
}

# The option lines of the staged WDM INF files, "EnableLegacy" and "JackConfig" as given (written
# as 0x03): the one line of each in the CR LF file; the first of each kind in the LF file, whose
# later lines stay as shipped.  expect_wdm_option_lines ENABLE-LEGACY JACK-CONFIG
expect_wdm_option_lines() {
  local legacy="HKR,\"Settings\",\"EnableLegacy\",    0x00010001" jacks="HKR,\"Settings\",\"JackConfig\",      0x00010001"
  expect_eq "|$legacy,$1,0,0,0|<CR><LF>
|$jacks,$2,0,0,0|<CR><LF>" "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVAUDIO.INF')" "the staged CR LF file"
  expect_eq "|$jacks,$2,0,0,0 ; jacks of the TVX4300|<LF>
|$legacy,$1,0,0,0|<LF>
|$jacks,0x05,0,0,0|<LF>
|$legacy,0x03,0,0,0|<LF>" "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVLF.INF')" "the staged LF file"
}

# Plays the last step and expects these message boxes and Wine's state as the simulated machine's.
finish_expecting() {
  play_the_last_step_and_compare
  expect_messages "$@"
  expect_same_state
}

# Plays the steps up to Install and expects the refusal: these messages, Wine's state as the
# simulated machine's, the earlier driver's class key kept and nothing installed.
expect_refusal() {
  play_steps_before_the_last
  finish_expecting "$@"
  grep -qx 'key HKLM\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0000' "$WORK/wine.txt" ||
    fail "the earlier driver's class key was removed"
  [ ! -d "$WINEPREFIX/drive_c/Program Files/Tarvic" ] || fail "something was installed"
  expect_quick_run
}

# The run ended within the time a person would wait for it.
expect_quick_run() {
  [ "$OPTIONS_SECONDS" -lt 50 ] || fail "the run took $OPTIONS_SECONDS s"
  echo "ok: the run took $OPTIONS_SECONDS s"
}
