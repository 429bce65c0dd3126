#!/usr/bin/env bash
# Windows Me, the main dialog with both boxes checked: the WDM driver is staged, but the CD's
# suite installer is there without being a program Windows starts. The person is told so, and the
# staged driver is finished as when the CD is given up at its prompt (the stand-ins play the mixer
# and the device installer): the completion message and the restart. Nothing is started.
source "$(dirname "$0")/dialogs.sh"
start_display
new_prefix
set_version winme
lay_machine "$TVX_SOURCE_DIR/tests/wine/machines/world"
make_dialog_cd
add_driver_packages
printf 'Not a program: the file that stands where the suite installer should.\r\n' >"$CD/W2K-ME/app/Setup.exe"
use_mixer_standin
# The maker's mixer is installed: the driver run queues its replacement for the restart.
cp "$TVX_SOURCE_DIR/examples/win9x-c/WINDOWS/Mixer.exe" "$WINEPREFIX/drive_c/windows/Mixer.exe"
start_setup
main=$(wait_window "$MAIN_TITLE")
expect_controls "$MAIN_TITLE" "both boxes" 1001+ 1002+
keys "$main" Return
wait_setup
expect_eq "Can not start the Tarvic Sound Suite setup program.
Setup completed! The system will restart now!" "$(message_boxes)" "told the installer did not start, then the completion"
peer_log | grep -q '^winmm|re-enumeration' || fail "the staged driver was not finished: $(peer_log)"
[ -f "$WINEPREFIX/drive_c/Program Files/Tarvic/W2K-ME/TVAUDIO.INF" ] || fail "the WDM package was not staged"
# Wine carries out WININIT.INI at once when asked to restart: the mixer is replaced.
cmp -s "$CD/W2K-ME/drv/Mixer.dat" "$WINEPREFIX/drive_c/windows/Mixer.exe" || fail "no restart: the mixer was not replaced"
echo "ok: the WDM package staged and finished, the restart requested (the mixer replaced)"
expect_eq "" "$(suite_start)" "no suite installer started"
