#!/usr/bin/env bash
# Windows 98 SE: the person clears both boxes with the keyboard; OK is disabled, Return does
# nothing, Escape ends the dialog, and nothing is started or written.
source "$(dirname "$0")/dialogs.sh"
dialog_machine win98
start_setup
main=$(wait_window "$MAIN_TITLE")
keys "$main" space
expect_eq "1 unchecked enabled visible" "$(dlgctl state "$MAIN_TITLE" 1)" "OK enabled with the driver box checked"
keys "$main" Tab space
expect_eq "1001 unchecked enabled visible
1002 unchecked enabled visible
1 unchecked disabled visible" "$(dlgctl state "$MAIN_TITLE" 1001 1002 1)" "OK disabled with both boxes clear"
keys "$main" Return
sleep 1
dlgctl wait "$MAIN_TITLE" 1 >/dev/null || fail "Return closed the dialog with OK disabled"
echo "ok: Return did nothing"
keys "$main" space
expect_eq "1 unchecked enabled visible" "$(dlgctl state "$MAIN_TITLE" 1)" "checking a box enables OK again"
keys "$main" Escape
wait_setup
expect_eq "" "$(suite_start)" "nothing started"
expect_eq "(no TVXSETUP.INI)" "$(markers)" "no markers"
