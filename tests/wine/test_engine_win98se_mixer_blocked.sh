#!/usr/bin/env bash
# Windows 98 SE, "/DRIVER" with the VxD package, and a folder named Mixer.dat in the Windows folder
# where the new mixer program would go: its copy fails, so none of the three renames of the mixer
# is queued in WININIT.INI (at the next start Windows would move the mixer in use aside with
# nothing to take its place); the person is told the installation could not be completed and
# Windows is not asked to restart. Wine ends as the simulated machine.
source "$(dirname "$0")/engine.sh"
engine_run "$TVX_SOURCE_DIR/tests/wine/machines/engine-win98se-mixer-blocked" win98 /DRIVER
expect_messages "$ANNOUNCEMENT" "$INCOMPLETE"
expect_same_state
queue=$(awk '/^ini WININIT.INI \[rename\]:$/ { on = 1; next } /^[a-z]/ { on = 0 } on' "$WORK/wine.txt")
case $queue in
  *Mixer*) fail "the rename queue holds the mixer's entries: $queue" ;;
esac
echo "ok: no rename of the mixer is queued"
[ -d "$WINEPREFIX/drive_c/windows/Mixer.dat" ] || fail "the folder in the mixer's way is gone"
[ -f "$WINEPREFIX/drive_c/windows/Mixer.exe" ] || fail "the mixer in use is gone"
echo "ok: the mixer in use stays"
