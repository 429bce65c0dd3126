#!/usr/bin/env bash
# Windows XP with neither installer on the CD: the message box, answered with Return, then the
# program ends without starting anything.
source "$(dirname "$0")/lib.sh"
start_display
new_prefix
set_version winxp
make_cd
answer_message_boxes
run_wine 'D:\Setup.exe'
stop_answering
expect_eq "Can not find the setup program for Windows 2000/XP." "$(message_boxes)" "the message box text"
[ -s "$WORK/answers" ] || fail "no message box captioned Setup was found on the display"
echo "ok: a window captioned Setup was answered with Return"
expect_eq "" "$(peer_log)" "nothing was started"
