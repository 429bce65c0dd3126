#!/usr/bin/env bash
# "/AP" on Windows 98 with no suite installer on the CD: the message box, and nothing starts.
source "$(dirname "$0")/suite.sh"
start_display
new_prefix
set_version win98
make_cd
answer_message_boxes
run_wine 'D:\Setup.exe' /AP
stop_answering
expect_eq "Can not find the Tarvic Sound Suite setup program." "$(message_boxes)" "the message box text"
[ -s "$WORK/answers" ] || fail "no message box captioned Setup was found on the display"
expect_eq "" "$(peer_log)" "nothing was started"
