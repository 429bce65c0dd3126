#!/usr/bin/env bash
# Windows Me, the VxD options dialog: three Tabs and Space check "Disable GAME port (device)";
# DlgCtl clicks line-in on the center/subwoofer jack, which clears the rear speaker's box; Return
# installs. DISJSTK, LINEINasREAR and LINEINasBASS change in both INF copies (CR LF and LF).
source "$(dirname "$0")/options.sh"
options_start options-winme-vxd winme
play_steps_before_the_last
expect_jacks "1001 checked enabled visible
1011 unchecked enabled visible
1012 checked enabled visible
1013 unchecked enabled visible" "the game port and line-in on the subwoofer's jack" 1001 1011 1012 1013
play_the_last_step_and_compare
expect_messages "Setup completed! The system will restart now!"
expect_same_state
expect_eq "|HKR,Config,DISMPU,1,0|<CR><LF>
|HKR,Config,DISJSTK,1,1|<CR><LF>
|HKR,Config,LINEINasREAR,1,0|<CR><LF>
|HKR,Config,LINEINasBASS,1,1|<CR><LF>
|HKR,Config,MICasBASS,1,0|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVAUDIO.INF')" "the CR LF copy"
expect_eq "|HKR,Config,MICasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasBASS,1,1|<CR><LF>
|HKR,Config,LINEINasREAR,1,0|<CR><LF>
|HKR,Config,DISJSTK,1,1|<CR><LF>
|HKR,Config,DISMPU,1,0|<CR><LF>
|HKR,Config,MICasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,DISMPU,1,0|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVLF.INF')" "the LF copy"
expect_quick_run
