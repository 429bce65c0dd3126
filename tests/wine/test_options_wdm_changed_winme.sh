#!/usr/bin/env bash
# Windows Me, the WDM options dialog: Tab, Tab, Space check "Disable legacy device (MIDI/GAME
# port)"; DlgCtl clicks the sound card; Return installs. Each staged INF (CR LF and LF) gets
# "EnableLegacy" 0x02 and "JackConfig" 0x00 before its copies reach INF and INF\OTHER; the
# driver is registered and Windows restarts.
source "$(dirname "$0")/options.sh"
options_start options-winme-wdm winme
play_steps_before_the_last
expect_controls "$TITLE" "the legacy devices and the sound card" 1000+ 1006- 1007+ 1011+d
finish_expecting "$ANNOUNCEMENT" "$COMPLETION"
expect_wdm_option_lines 0x02 0x00
expect_quick_run
