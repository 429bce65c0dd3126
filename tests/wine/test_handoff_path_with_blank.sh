#!/usr/bin/env bash
# The CD folder holds a blank ("D:\Driver CD\"): the installer's path is quoted, so Windows does
# not start "D:\Driver.exe" (a stand-in lies there as a trap) instead of the installer.
source "$(dirname "$0")/lib.sh"
start_display
new_prefix
set_version winxp
mkdir -p "$CD/Driver CD"
cp "$TVX_WIN32_DIR/Setup.exe" "$TVX_WIN32_DIR/W2KSetup.exe" "$CD/Driver CD/"
cp "$TVX_WIN32_DIR/W2KSetup.exe" "$CD/Driver CD/W2KSetup.dat"
cp "$TVX_WIN32_DIR/W2KSetup.exe" "$CD/Driver.exe"
run_wine 'D:\Driver CD\Setup.exe' -driver
expect_eq "" "$(message_boxes)" "no message box"
expect_eq 'W2KSetup|D:\Driver CD\W2KSetup.dat|"D:\Driver CD\W2KSetup.dat" /DRIVER' "$(peer_log)" \
  "the quoted installer path was started, not D:\\Driver.exe"
