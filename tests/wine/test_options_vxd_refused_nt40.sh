#!/usr/bin/env bash
# Windows NT 4.0, the VxD options dialog: Return on Install shows "This driver can not be used on
# Windows NT or Windows 2000." and the program ends; nothing is copied, removed or restarted.
source "$(dirname "$0")/options.sh"
options_start options-nt40-vxd nt40
play_steps_before_the_last
play_the_last_step_and_compare
expect_messages "This driver can not be used on Windows NT or Windows 2000."
expect_same_state
grep -qx 'key HKLM\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0000' "$WORK/wine.txt" ||
  fail "the earlier driver's class key was removed"
[ ! -d "$WINEPREFIX/drive_c/Program Files/Tarvic" ] || fail "something was installed"
expect_quick_run
