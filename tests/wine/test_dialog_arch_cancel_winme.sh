#!/usr/bin/env bash
# Windows Me with setup.ini asking for the driver architecture: the dialog opens preset to WDM;
# its Cancel (Escape) ends everything before the main dialog ever appears, with nothing started.
source "$(dirname "$0")/dialogs.sh"
dialog_machine winme "WindowsMEDriverAskUser=1"
start_setup
arch=$(wait_window "$ARCH_TITLE")
expect_state "1004 unchecked enabled visible
1005 checked enabled visible" "preset to WDM" "$ARCH_TITLE" 1004 1005
dlgctl click "$ARCH_TITLE" 1004
expect_state "1004 checked enabled visible
1005 unchecked enabled visible" "VxD chosen" "$ARCH_TITLE" 1004 1005
keys "$arch" Escape
expect_setup_ended "after Cancel in the architecture dialog"
wait_setup
[ -z "$(xdotool search --name "$MAIN_TITLE" 2>/dev/null)" ] || fail "the main dialog appeared"
expect_eq "" "$(suite_start)" "nothing started"
expect_eq "" "$(message_boxes)" "no message box"
