#!/usr/bin/env bash
# Windows Me with setup.ini asking for the driver architecture: the dialog opens preset to WDM;
# its Cancel (Escape) ends everything before the main dialog ever appears, with nothing started.
source "$(dirname "$0")/dialogs.sh"
dialog_machine winme "WindowsMEDriverAskUser=1"
start_setup
arch=$(wait_window "$ARCH_TITLE")
expect_controls "$ARCH_TITLE" "preset to WDM" 1004- 1005+
dlgctl click "$ARCH_TITLE" 1004
expect_controls "$ARCH_TITLE" "VxD chosen" 1004+ 1005-
keys "$arch" Escape
expect_setup_ended "after Cancel in the architecture dialog"
wait_setup
[ -z "$(xdotool search --name "$MAIN_TITLE" 2>/dev/null)" ] || fail "the main dialog appeared"
expect_eq "" "$(suite_start)" "nothing started"
expect_eq "" "$(message_boxes)" "no message box"
