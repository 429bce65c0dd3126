#!/usr/bin/env bash
# Windows 95, the VxD options dialog with the default options: the person presses Return. The
# option lines of both INF copies (CR LF and LF) stay as shipped; each copy names the install
# folder as its source disk; the samples, the 026 folder and the new mixer are in place; Wine ends
# as the simulated machine.
source "$(dirname "$0")/options.sh"
options_start options-win95-vxd win95 english-103-vxd-options
expect_jacks "1006 checked enabled visible
1007 unchecked enabled visible
1011 checked enabled visible
1012 unchecked enabled visible
1013 unchecked enabled visible
1000 unchecked enabled visible
1001 unchecked enabled visible" "the default options" 1006 1007 1011 1012 1013 1000 1001
play_steps_before_the_last
play_the_last_step_and_compare
expect_messages "Setup completed! The system will restart now!"
expect_same_state
shipped="|HKR,Config,DISMPU,1,0|<CR><LF>
|HKR,Config,DISJSTK,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,LINEINasBASS,1,0|<CR><LF>
|HKR,Config,MICasBASS,1,0|<CR><LF>"
expect_eq "$shipped" "$(option_lines 'C:\WINDOWS\INF\TVAUDIO.INF')" "the CR LF copy as shipped"
expect_eq "|HKR,Config,MICasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,DISJSTK,1,0|<CR><LF>
|HKR,Config,DISMPU,1,0|<CR><LF>
|HKR,Config,MICasBASS,1,0|<CR><LF>
|HKR,Config,LINEINasREAR,1,1|<CR><LF>
|HKR,Config,DISMPU,1,0|<CR><LF>" "$(option_lines 'C:\WINDOWS\INF\TVLF.INF')" "the LF copy as shipped"
grep -qx '  |1="Tarvic Driver Disk",,,, C:\\Program Files\\Tarvic\\W95-98|<CR><LF>' "$WORK/wine.txt" ||
  fail "the INF copies do not name the install folder"
grep -qx 'file C:\\Program Files\\Tarvic\\W95-98\\SMPDATA.DAT: present' "$WORK/wine.txt" || fail "no samples"
expect_eq "MZ mixer program of the VxD download" "$(tr -d '\r' <"$WINEPREFIX/drive_c/windows/Mixer.exe")" \
  "the mixer replaced where the registry says"
expect_quick_run
