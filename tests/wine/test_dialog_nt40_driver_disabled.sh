#!/usr/bin/env bash
# NT 4.0: the driver box is cleared and disabled, a click on it changes nothing, and OK starts the
# NT 4.0 suite installer.
source "$(dirname "$0")/dialogs.sh"
dialog_machine nt40
start_setup
main=$(wait_window "$MAIN_TITLE")
expect_controls "$MAIN_TITLE" "the driver box as shown on NT 4.0" 1001+ 1002-d 1-
expect_eq "disabled" "$(dlgctl click "$MAIN_TITLE" 1002)" "the mouse cannot click it"
expect_controls "$MAIN_TITLE" "a click on it changed nothing" 1002-d
keys "$main" Tab
keys "$main" Return
wait_setup
expect_eq 'D:\NT40\app\Setup.exe' "$(suite_start | cut -d'|' -f1)" "the NT 4.0 suite installer started"
expect_eq "" "$(message_boxes)" "no message box"
