#!/usr/bin/env bash
# Windows 98 SE (Wine's "win98"), the WDM options dialog with the default options: Return
# installs. The announcement, the dialog hidden, the staging: each staged INF (CR LF and LF) gets
# "JackConfig" 0x01 in place before its copies reach INF and INF\OTHER, "EnableLegacy" stays 0x03;
# the stand-ins play Windows installing the card with its game port, then the completion message.
source "$(dirname "$0")/options.sh"
options_start options-win98se-wdm win98 english-131-wdm-options
play_steps_before_the_last
play_the_last_step_and_compare
expect_messages "The driver will be installed now. It need a few minutes to complete." \
  "Setup completed! The system will restart now!"
expect_same_state
expect_eq '|HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0|<CR><LF>
|HKR,"Settings","JackConfig",      0x00010001,0x01,0,0,0|<CR><LF>' \
  "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVAUDIO.INF')" "the staged CR LF file"
expect_eq '|HKR,"Settings","JackConfig",      0x00010001,0x01,0,0,0 ; jacks of the TVX4300|<LF>
|HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0|<LF>
|HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0|<LF>
|HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0|<LF>' \
  "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVLF.INF')" "the staged LF file: the first line of each kind"
expect_eq "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVAUDIO.INF')" \
  "$(option_lines 'C:\WINDOWS\INF\OTHER\TVAUDIO.INF')" "the INF copy carries the patched lines"
expect_quick_run
