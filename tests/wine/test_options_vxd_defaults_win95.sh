#!/usr/bin/env bash
# Windows 95, the VxD options dialog with the default options: the person presses Return. The
# option lines of both INF copies (CR LF and LF) stay as shipped; each copy names the install
# folder as its source disk; the samples, the 026 folder and the new mixer are in place; Wine ends
# as the simulated machine.
source "$(dirname "$0")/options.sh"
options_start options-win95-vxd win95 english-103-vxd-options
expect_controls "$TITLE" "the default options" 1006+ 1007- 1011+ 1012- 1013- 1000- 1001-
play_steps_before_the_last
finish_expecting "$COMPLETION"
expect_vxd_option_lines 0 0 1 0 0
grep -qx '  |1="Tarvic Driver Disk",,,, C:\\Program Files\\Tarvic\\W95-98|<CR><LF>' "$WORK/wine.txt" ||
  fail "the INF copies do not name the install folder"
grep -qx 'file C:\\Program Files\\Tarvic\\W95-98\\SMPDATA.DAT: present' "$WORK/wine.txt" || fail "no samples"
expect_eq "MZ mixer program of the VxD download" "$(tr -d '\r' <"$WINEPREFIX/drive_c/windows/Mixer.exe")" \
  "the mixer replaced where the registry says"
expect_quick_run
