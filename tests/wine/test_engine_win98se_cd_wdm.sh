#!/usr/bin/env bash
# Windows 98 SE, the CD with "/DRIVER": the WDM package, Windows' own ks.inf, wdmaudio.inf and
# ksfilter.inf patched, the driver registered through the INF copies, and the waits for Windows
# installing the card (the mixer-count stand-in and World.exe play the machine's events: the
# device installer's window, the mixer, the class entries with the legacy devices, the tray icon,
# the game port). SetupQuerySourceListA is a stub in Wine: the run goes on without the source
# list. Wine ends as the simulated machine.
source "$(dirname "$0")/engine.sh"
engine_run "$TVX_SOURCE_DIR/tests/wine/machines/engine-win98se-cd-wdm" win98 /DRIVER
expect_messages "$ANNOUNCEMENT" "$COMPLETION"
expect_same_state
grep -q '^  |ks.sys,,,0x00000010|<CR><LF>$' "$WORK/sim.txt" || fail "ks.inf was not patched"
grep -q '^  200="Tarvic WDM Audio Driver Disk",,,<short of C:\\Program Files\\Tarvic\\W2K-ME>$' "$WORK/sim.txt" ||
  fail "the INF copies do not name the install folder"
grep -q 'unimplemented function setupapi.dll.SetupQuerySourceListA' "$WORK/trace" ||
  echo "note: Wine did not report its SetupQuerySourceListA stub this time"
expect_mixer_replaced "MZ mixer, WDM package"
[ "$ENGINE_SECONDS" -lt 60 ] || fail "the run took $ENGINE_SECONDS s: a wait did not end with the world"
echo "ok: the run took $ENGINE_SECONDS s"
