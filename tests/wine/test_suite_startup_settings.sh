#!/usr/bin/env bash
# The start-up audio settings of the real Setup.exe under Wine: the registry and TVCDPLAY.INI
# afterwards equal what the simulated machine makes of the same machine folder.
source "$(dirname "$0")/suite.sh"
machine="$TVX_SOURCE_DIR/tests/wine/machines/suite-settings"
start_display
new_prefix
set_version win98
import_reg "$machine/registry.reg"
lay_drive_c "$machine/drives/C"
cp -r "$machine/drives/D/." "$CD/"
cp "$TVX_WIN32_DIR/Setup.exe" "$CD/SETUP.EXE"
cp "$TVX_WIN32_DIR/SuiteSetup.exe" "$CD/W95-98/app/Setup.exe"
cp "$TVX_WIN32_DIR/state_probe.exe" "$WINEPREFIX/drive_c/probe/"
answer_message_boxes
run_wine 'D:\SETUP.EXE' /AP
stop_answering
wait_for_log '^SuiteSetup|'
as_wine_user env WINEDEBUG=-all wine 'C:\probe\state_probe.exe' | tr -d '\r' >"$WORK/wine.txt"
"$TVX_HOST_DIR/state_probe_sim" "$machine" setup >"$WORK/sim.txt"
diff -u "$WORK/wine.txt" "$WORK/sim.txt" || fail "Wine and the simulated machine differ after the start-up settings"
grep -q '"DefaultFormat" type 1 = "Best CD"' "$WORK/sim.txt" || fail "the first CD format was not taken"
grep -q '^  UsingCDDA=1$' "$WORK/sim.txt" || fail "UsingCDDA is not 1"
echo "ok: $(wc -l <"$WORK/sim.txt") lines of state agree"
