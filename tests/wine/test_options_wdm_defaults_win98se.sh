#!/usr/bin/env bash
# Windows 98 SE (Wine's "win98"), the WDM options dialog with the default options: Return
# installs. The announcement, the dialog hidden, the staging: each staged INF (CR LF and LF) gets
# "JackConfig" 0x01 in place before its copies reach INF and INF\OTHER, "EnableLegacy" stays 0x03;
# the stand-ins play Windows installing the card with its game port, then the completion message.
source "$(dirname "$0")/options.sh"
options_start options-win98se-wdm win98 english-131-wdm-options
play_steps_before_the_last
finish_expecting "$ANNOUNCEMENT" "$COMPLETION"
expect_wdm_option_lines 0x03 0x01
expect_eq "$(option_lines 'C:\Program Files\Tarvic\W2K-ME\TVAUDIO.INF')" \
  "$(option_lines 'C:\WINDOWS\INF\OTHER\TVAUDIO.INF')" "the INF copy carries the patched lines"
expect_quick_run
