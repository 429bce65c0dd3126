#!/usr/bin/env bash
# Windows Me: the person picks VxD in the architecture dialog (the radio buttons have no tab
# stop: DlgCtl clicks it), then the applications only; the VxD suite installer starts.
source "$(dirname "$0")/dialogs.sh"
dialog_machine winme "WindowsMEDriverAskUser=1"
start_setup
arch=$(wait_window "$ARCH_TITLE")
dlgctl click "$ARCH_TITLE" 1005
dlgctl click "$ARCH_TITLE" 1004
keys "$arch" Return
main=$(wait_window "$MAIN_TITLE")
keys "$main" Tab space Return
wait_setup
expect_eq 'D:\W95-98\app\Setup.exe' "$(suite_start | cut -d'|' -f1)" "the VxD suite installer started"
expect_eq "Install=YES" "$(markers | sed -n 2p)" "the markers ask for a restart"
