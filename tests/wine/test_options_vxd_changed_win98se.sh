#!/usr/bin/env bash
# Windows 98 SE (Wine's "win98"), the VxD options dialog: Tab, Tab, Space checks "Disable MIDI
# port (device)"; five Tabs (the checked radio button takes one: Windows gives it the tab stop)
# and Space check the microphone's box; DlgCtl clicks the sound card, which disables the jack
# boxes with their checks, and the motherboard, which enables them again; Return installs. DISMPU and MICasBASS end in 1 in both INF copies (CR LF and LF), only the first
# equal line of each kind, and the LF file's last line, which has no line end, is no option line.
source "$(dirname "$0")/options.sh"
options_start options-win98se-vxd win98
expect_eq "key=Tab key=Tab key=Space key=Tab key=Tab key=Tab key=Tab key=Tab key=Space click=1007 click=1006 key=Return" \
  "$(dialog_steps | tr '\n' ' ' | sed 's/ $//')" "the machine's steps"
play_steps 1 10
expect_jacks "1006 unchecked enabled visible
1007 checked enabled visible
1011 checked disabled visible
1012 unchecked disabled visible
1013 checked disabled visible
1000 checked enabled visible" "the sound card: the jack boxes disabled, their checks kept" 1006 1007 1011 1012 1013 1000
play_steps 11 11
expect_jacks "1011 checked enabled visible
1012 unchecked enabled visible
1013 checked enabled visible" "the motherboard again: the same checks, enabled" 1011 1012 1013
play_the_last_step_and_compare
expect_messages "Setup completed! The system will restart now!"
expect_same_state
expect_eq "|HKR,Config,DISMPU,1,1|<CR><LF>
|HKR,Config,DISJSTK,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,LINEINasBASS,1,0|<CR><LF>
|HKR,Config,MICasBASS,1,1|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVAUDIO.INF')" "the CR LF copy"
expect_eq "|HKR,Config,MICasBASS,1,1|<CR><LF>
|HKR,Config,LINEINasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,DISJSTK,1,0|<CR><LF>
|HKR,Config,DISMPU,1,1|<CR><LF>
|HKR,Config,MICasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,DISMPU,1,0|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVLF.INF')" "the LF copy, rewritten by Wine's profile functions"
expect_quick_run
