#!/usr/bin/env bash
# Windows 98 SE, the main dialog: the person clears "Install Device Driver" with the keyboard
# (Tab to it, Space) and presses Return; the suite installer for the VxD driver starts and the
# markers ask the suite installer to restart Windows.
source "$(dirname "$0")/dialogs.sh"
dialog_machine win98
start_setup
main=$(wait_window "$MAIN_TITLE")
expect_eq "1001 checked enabled visible
1002 checked enabled visible
1003 unchecked enabled hidden
1 unchecked enabled visible
2 unchecked enabled visible" "$(main_states)" "the main dialog as shown"
keys "$main" Tab space
expect_controls "$MAIN_TITLE" "Tab and Space cleared the driver box" 1002-
keys "$main" Return
wait_setup
expect_eq 'D:\W95-98\app\Setup.exe|D:\W95-98\app\Setup.exe|' "$(suite_start | cut -d'|' -f1,2)|" "the VxD suite installer started"
expect_eq "" "$(message_boxes)" "no message box"
expect_eq "[Need_To_Reboot]
Install=YES
[Need_To_InstallDriver]
Install=NO
Command=" "$(markers)" "the markers ask for a restart, no driver command"
