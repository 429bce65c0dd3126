#!/usr/bin/env bash
# Windows 98 SE with setup.ini choosing the WDM driver: both boxes stay checked and Return
# presses OK. The suite installer of the WDM driver starts, and the markers carry the command
# that completes the driver instead of asking for a restart.
source "$(dirname "$0")/dialogs.sh"
dialog_machine win98 "Windows98SEDriver=1"
add_driver_packages
start_setup
main=$(wait_window "$MAIN_TITLE")
keys "$main" Return
wait_setup
expect_eq 'D:\W2K-ME\app\Setup.exe' "$(suite_start | cut -d'|' -f1)" "the WDM suite installer started"
expect_eq "[Need_To_Reboot]
Install=NO
[Need_To_InstallDriver]
Install=YES" "$(markers | head -4)" "no restart, a driver to complete"
markers | grep -q '^Command=.*\\MESetup.dat$' || fail "the driver command: $(markers | tail -1)"
echo "ok: $(markers | tail -1)"
[ -f "$WINEPREFIX/drive_c/Program Files/Tarvic/W2K-ME/MESetup.dat" ] || fail "the WDM package was not staged"
expect_eq "" "$(message_boxes)" "no announcement, no completion message: the suite installer finishes"
[ ! -f "$WINEPREFIX/drive_c/windows/WININIT.BAK" ] || fail "a restart was requested"
