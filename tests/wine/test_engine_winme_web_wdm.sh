#!/usr/bin/env bash
# Windows Me with the flat WDM download ("WebSetup" 2, "InstallWDMDriver" 1): the package from the
# program's own folder, SetupCopyOEMInfA registering the staged INF, the waits, the restart.
# Wine keeps the registered INF under its own name in INF (with a .pnf), where Windows Me keeps
# it in INF\OTHER under the provider's name; the rest ends as on the simulated machine.
source "$(dirname "$0")/engine.sh"
engine_run "$TVX_SOURCE_DIR/tests/wine/machines/engine-winme-web-wdm" winme
expect_messages "$ANNOUNCEMENT" "$COMPLETION"
# Everything but what the state probe shows of C:\WINDOWS\INF\TVAUDIO.INF, Wine's copy.
without_wines_copy() {
  awk '/^[a-z]/ { skip = index($0, "C:\\WINDOWS\\INF\\TVAUDIO.INF") > 0 } !skip' "$1"
}
without_wines_copy "$WORK/wine.txt" >"$WORK/wine-rest.txt"
without_wines_copy "$WORK/sim.txt" >"$WORK/sim-rest.txt"
grep -q '^file C:\\WINDOWS\\INF\\TVAUDIO.INF: absent$' "$WORK/sim.txt" || fail "an INF copy reached the INF folder on Me"
diff -u "$WORK/wine-rest.txt" "$WORK/sim-rest.txt" || fail "Wine and the simulated machine differ after the run"
grep -qi '^\[Version\]' "$WINEPREFIX/drive_c/windows/inf/TVAUDIO.INF" || fail "Wine kept no copy of the registered INF"
"$TVX_HOST_DIR/tvxsim" run "$TVX_SOURCE_DIR/tests/wine/machines/engine-winme-web-wdm" >"$WORK/report.txt"
grep -q 'SetupCopyOEMInfA C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF: Windows keeps it as C:\\WINDOWS\\INF\\OTHER\\TarvicTVAUDIO.INF' "$WORK/report.txt" ||
  fail "the simulated Windows Me does not keep the INF under its provider's name"
expect_mixer_replaced "MZ mixer, WDM package"
[ "$ENGINE_SECONDS" -lt 60 ] || fail "the run took $ENGINE_SECONDS s: a wait did not end with the world"
echo "ok: the run took $ENGINE_SECONDS s"
