#!/usr/bin/env bash
# The removal of earlier drivers on a machine prepared as an earlier driver's machine: under
# Wine (reporting Windows 98) and on the simulated machine, the registry, files and INI files
# afterwards are the same; after `wineboot -r` (Wine's start, which carries out WININIT.INI)
# the legacy files stand under their retired names, as after the simulated machine's boot.
#
# Wine, like Windows NT, maps the [windows] section of WIN.INI to the registry; Windows 95, 98
# and Me keep it in the file. The mapping is removed from the prefix so that the "run" entry
# lives in WIN.INI as on the machines the removal is for.
source "$(dirname "$0")/lib.sh"
machine="$TVX_SOURCE_DIR/tests/wine/machines/earlier-driver"
start_display
new_prefix
set_version win98
import_reg "$machine/registry.reg"
must "leaving WIN.INI a file of its own" as_wine_user env WINEDEBUG=-all wine reg delete \
  'HKLM\Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\win.ini' /f
lay_drive_c "$machine/drives/C"
cp "$TVX_WIN32_DIR/state_probe.exe" "$WINEPREFIX/drive_c/probe/"
as_wine_user env WINEDEBUG=-all wine 'C:\probe\state_probe.exe' cleanup | tr -d '\r' >"$WORK/wine.txt"
echo "--- boot" >>"$WORK/wine.txt"
must "starting Windows again (wineboot -r)" as_wine_user env WINEDEBUG=-all wineboot -r
must "waiting for the start to end" as_wine_user wineserver -w
as_wine_user env WINEDEBUG=-all wine 'C:\probe\state_probe.exe' | tr -d '\r' >>"$WORK/wine.txt"
"$TVX_HOST_DIR/state_probe_sim" "$machine" cleanup >"$WORK/sim.txt"
diff -u "$WORK/wine.txt" "$WORK/sim.txt" || fail "Wine and the simulated machine differ after the removal"
grep -q '^registry cleanup: 0$' "$WORK/sim.txt" || fail "the earlier driver's device keys were not found"
after_boot=$(sed -n '/^--- boot$/,$p' "$WORK/sim.txt")
for retired in 'system\SPATIAL.OLD' 'system\SYNPROX.OLD' 'system32\drivers\TVPCI.OLD' 'inf\CATALOG\tvaudio.OLD'; do
  grep -qF "file C:\\windows\\$retired: present" <<<"$after_boot" || fail "$retired is not in place after the start"
done
echo "ok: $(wc -l <"$WORK/sim.txt") lines of state agree, legacy files retired at the start"
