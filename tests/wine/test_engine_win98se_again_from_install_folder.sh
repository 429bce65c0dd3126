#!/usr/bin/env bash
# Windows 98 SE: Setup.exe started again from the install folder of an earlier run of the flat
# VxD download, which holds the whole package, SETUP.EXE and setup.ini included. Each package file
# is its own destination there: it is in place, no copy of it is tried (Windows would refuse a
# file copied onto itself), and the run completes and asks for the restart. Wine ends as the
# simulated machine.
source "$(dirname "$0")/engine.sh"
engine_run_from 'C:\Program Files\Tarvic\W95-98\SETUP.EXE' \
  "$TVX_SOURCE_DIR/tests/wine/machines/engine-win98se-again-from-install-folder" win98
expect_messages "$ANNOUNCEMENT" "$COMPLETION"
expect_same_state
folder="$WINEPREFIX/drive_c/Program Files/Tarvic/W95-98"
package="$TVX_SOURCE_DIR/tests/wine/machines/engine-win98se-again-from-install-folder/drives/C/Program Files/Tarvic/W95-98"
for name in TVAUDIO.INF TVAUDIO.VXD TVPCI95.DRV Mixer.dat tvaudio.cat 026/BANK026.DAT; do
  cmp -s "$package/$name" "$folder/$name" || fail "the install folder's $name is not the package's any more"
done
echo "ok: the install folder's files are as they were"
grep -q '^file C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF: present$' "$WORK/wine.txt" || fail "no INF copy in INF\\OTHER"
grep -q '^  1="Tarvic Driver Disk",,, <short of C:\\Program Files\\Tarvic\\W95-98>$' "$WORK/wine.txt" ||
  fail "the INF copies do not name the install folder"
expect_mixer_replaced "$(tr -d '\r' <"$package/Mixer.dat")"
echo "ok: the run took $ENGINE_SECONDS s"
