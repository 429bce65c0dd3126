#!/usr/bin/env bash
# Windows 98 SE (Wine's "win98"), the VxD options dialog: Tab, Tab, Space checks "Disable MIDI
# port (device)"; five Tabs (the checked radio button takes one: Windows gives it the tab stop)
# and Space check the microphone's box; DlgCtl clicks the sound card, which disables the jack
# boxes with their checks, and the motherboard, which enables them again; Return installs. DISMPU
# and MICasBASS end in 1 in both INF copies (CR LF and LF), only the first equal line of each
# kind, and the LF file's last line, which has no line end, is no option line.
source "$(dirname "$0")/options.sh"
options_start options-win98se-vxd win98
expect_eq "key=Tab key=Tab key=Space key=Tab key=Tab key=Tab key=Tab key=Tab key=Space click=1007 click=1006 key=Return" \
  "$(dialog_steps | tr '\n' ' ' | sed 's/ $//')" "the machine's steps"
play_steps 1 10
expect_controls "$TITLE" "the sound card: the jack boxes disabled, their checks kept" \
  1006- 1007+ 1011+d 1012-d 1013+d 1000+
play_steps 11 11
expect_controls "$TITLE" "the motherboard again: the same checks, enabled" 1011+ 1012- 1013+
finish_expecting "$COMPLETION"
expect_vxd_option_lines 1 0 1 0 1
expect_quick_run
