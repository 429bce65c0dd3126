#!/usr/bin/env bash
# Windows Me, the WDM options dialog: Tab, Tab, Space check "Disable legacy device (MIDI/GAME
# port)"; DlgCtl clicks the sound card; Return installs. Each staged INF (CR LF and LF) gets
# "EnableLegacy" 0x02 and "JackConfig" 0x00 before its copies reach INF and INF\OTHER; the
# driver is registered and Windows restarts.
source "$(dirname "$0")/options.sh"
options_start options-winme-wdm winme
play_steps_before_the_last
expect_jacks "1000 checked enabled visible
1006 unchecked enabled visible
1007 checked enabled visible
1011 checked disabled visible" "the legacy devices and the sound card" 1000 1006 1007 1011
play_the_last_step_and_compare
expect_messages "The driver will be installed now. It need a few minutes to complete." \
  "Setup completed! The system will restart now!"
expect_same_state
expect_eq '|HKR,"Settings","EnableLegacy",    0x00010001,0x02,0,0,0|<CR><LF>
|HKR,"Settings","JackConfig",      0x00010001,0x00,0,0,0|<CR><LF>' \
  "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVAUDIO.INF')" "the staged CR LF file"
expect_eq '|HKR,"Settings","JackConfig",      0x00010001,0x00,0,0,0 ; jacks of the TVX4300|<LF>
|HKR,"Settings","EnableLegacy",    0x00010001,0x02,0,0,0|<LF>
|HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0|<LF>
|HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0|<LF>' \
  "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVLF.INF')" "the staged LF file"
expect_quick_run
