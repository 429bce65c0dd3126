#!/usr/bin/env bash
# Windows NT 4.0 with tail "/DRIVER": the program ends at once, without any window.
source "$(dirname "$0")/lib.sh"
start_display
new_prefix
set_version nt40
make_cd W2KSetup.exe W2KSetup.dat
answer_message_boxes
run_wine 'D:\Setup.exe' /DRIVER
stop_answering
expect_eq "" "$(message_boxes)" "no message box"
[ ! -s "$WORK/answers" ] || fail "a window captioned Setup appeared"
expect_eq "" "$(peer_log)" "nothing was started"
