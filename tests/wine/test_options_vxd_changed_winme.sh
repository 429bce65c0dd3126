#!/usr/bin/env bash
# Windows Me, the VxD options dialog: three Tabs and Space check "Disable GAME port (device)";
# DlgCtl clicks line-in on the center/subwoofer jack, which clears the rear speaker's box; Return
# installs. DISJSTK, LINEINasREAR and LINEINasBASS change in both INF copies (CR LF and LF).
source "$(dirname "$0")/options.sh"
options_start options-winme-vxd winme
play_steps_before_the_last
expect_controls "$TITLE" "the game port and line-in on the subwoofer's jack" 1001+ 1011- 1012+ 1013-
finish_expecting "$COMPLETION"
expect_vxd_option_lines 0 1 0 1 0
expect_quick_run
