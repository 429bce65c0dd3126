#!/usr/bin/env bash
# Windows 98 SE: the person clears both boxes with the keyboard; OK is disabled, Return does
# nothing, Escape ends the dialog, and nothing is started or written.
source "$(dirname "$0")/dialogs.sh"
dialog_machine win98
start_setup
main=$(wait_window "$MAIN_TITLE")
keys "$main" space
expect_controls "$MAIN_TITLE" "OK enabled with the driver box checked" 1-
keys "$main" Tab space
expect_controls "$MAIN_TITLE" "OK disabled with both boxes clear" 1001- 1002- 1-d
# Return, then Space: the dialog still there to take the Space shows that Return did nothing.
keys "$main" Return space
expect_controls "$MAIN_TITLE" "Return did nothing; checking a box enables OK again" 1-
keys "$main" Escape
wait_setup
expect_eq "" "$(suite_start)" "nothing started"
expect_eq "(no TVXSETUP.INI)" "$(markers)" "no markers"
