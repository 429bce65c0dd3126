#!/usr/bin/env bash
# Windows 98 SE, applications only: the CD is taken out before OK, so the prompt for the CD
# appears; the person puts the CD back and answers OK, and the suite installer starts.
source "$(dirname "$0")/dialogs.sh"
dialog_machine win98
ANSWER=0 start_setup
main=$(wait_window "$MAIN_TITLE")
keys "$main" Tab space
mv "$CD/W95-98" "$CD/W2K-ME" "$WORK/"
keys "$main" Return
prompt=$(wait_window '^Setup$')
expect_eq "Can not find the Tarvic Sound Suite setup program.\\n Please insert the installation CD now." \
  "$(message_boxes)" "the prompt for the CD"
# The program waits in the prompt: nothing can start before it is answered.
expect_eq "" "$(suite_start)" "nothing started while the CD is out"
mv "$WORK/W95-98" "$WORK/W2K-ME" "$CD/"
keys "$prompt" Return
wait_setup
expect_eq 'D:\W95-98\app\Setup.exe' "$(suite_start | cut -d'|' -f1)" "the suite installer started once the CD was back"
