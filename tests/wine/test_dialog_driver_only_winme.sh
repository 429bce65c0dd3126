#!/usr/bin/env bash
# Windows Me, the main dialog: the person clears "Install Applications" and presses OK. The
# boxes give way to "Please wait .....", the driver run announces itself, installs the WDM driver
# (the stand-ins play the mixer and the device installer), shows the completion message and asks
# for the restart; the dialog then ends with OK. No suite installer starts, no markers are left.
source "$(dirname "$0")/dialogs.sh"
start_display
new_prefix
set_version winme
lay_machine "$TVX_SOURCE_DIR/tests/wine/machines/world"
make_dialog_cd
add_driver_packages
use_mixer_standin
# The maker's mixer is installed: the driver run queues its replacement for the restart.
cp "$TVX_SOURCE_DIR/examples/win9x-c/WINDOWS/Mixer.exe" "$WINEPREFIX/drive_c/windows/Mixer.exe"
start_setup
main=$(wait_window "$MAIN_TITLE")
keys "$main" space
expect_controls "$MAIN_TITLE" "the driver only" 1001- 1002+
keys "$main" Return
wait_setup
expect_eq "The driver will be installed now. It need a few minutes to complete.
Setup completed! The system will restart now!" "$(message_boxes)" "the announcement, then the completion message"
peer_log | grep -q '^winmm|re-enumeration' || fail "the driver run did not wait for the device: $(peer_log)"
[ -f "$WINEPREFIX/drive_c/Program Files/Tarvic/W2K-ME/TVAUDIO.INF" ] || fail "the WDM package was not staged"
# Wine carries out WININIT.INI at once when asked to restart: the mixer is replaced.
cmp -s "$CD/W2K-ME/drv/Mixer.dat" "$WINEPREFIX/drive_c/windows/Mixer.exe" || fail "no restart: the mixer was not replaced"
echo "ok: the WDM package staged, the restart requested (the mixer replaced)"
expect_eq "" "$(suite_start)" "no suite installer"
expect_eq "(no TVXSETUP.INI)" "$(markers)" "no markers"
