#!/usr/bin/env bash
# Windows Me, the main dialog: the person clears "Install Applications" and presses OK. The
# boxes give way to "Please wait .....", the driver run of the main dialog installs the driver,
# and the dialog ends with OK; no suite installer starts and no markers are left.
source "$(dirname "$0")/dialogs.sh"
start_display
new_prefix
set_version winme
make_dialog_cd
start_setup
main=$(wait_window "$MAIN_TITLE")
keys "$main" space
expect_eq "1001 unchecked enabled visible
1002 checked enabled visible" "$(dlgctl state "$MAIN_TITLE" 1001 1002)" "the driver only"
keys "$main" Return
wait_setup
expect_eq "" "$(suite_start)" "no suite installer"
expect_eq "(no TVXSETUP.INI)" "$(markers)" "no markers"
