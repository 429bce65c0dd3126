#!/usr/bin/env bash
# Windows XP, and the CD's W2KSetup.dat is there without being a program Windows starts: the
# message says so (not that it cannot be found), answered with Return, and nothing starts.
source "$(dirname "$0")/lib.sh"
start_display
new_prefix
set_version winxp
make_cd
printf 'Not a program: the file that stands where the Windows 2000/XP installer should.\r\n' >"$CD/W2KSetup.dat"
answer_message_boxes
run_wine 'D:\Setup.exe'
stop_answering
expect_eq "Can not start the setup program for Windows 2000/XP." "$(message_boxes)" "the message box text"
[ -s "$WORK/answers" ] || fail "no message box captioned Setup was found on the display"
expect_eq "" "$(peer_log)" "nothing was started"
