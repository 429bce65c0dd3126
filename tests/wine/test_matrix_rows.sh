#!/usr/bin/env bash
# The sign-off replayed on the real Setup.exe: one row of the example CD's matrix per Windows
# version (a driver-only run on 95 and Me, the staged driver with the suite on 98 SE, the suite on
# NT 4.0, the hand-off on 2000 and XP, and a first-edition 98 row, which Wine cannot be), and the
# option rows of the WDM download (its defaults, changed choices and Cancel) on Me, each held to the
# simulator's run of the same machine (scripts/wine-matrix.sh runs every row).
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
export TVX_WINE_MATRIX_SKIP=77
must_replay() {
  local status=0
  "$TVX_SOURCE_DIR/scripts/wine-matrix.sh" "$@" | tee "$WORK/replay.txt" || status=$?
  [ "$status" = 0 ] || fail "rows differ from the simulator: $(grep -v ': same$' "$WORK/replay.txt")"
}
must_replay "$TVX_SOURCE_DIR/examples/cd" win95-3 win98-5 win98se-1 winme-3 nt40-2 win2k-1 winxp-2
cp -r "$TVX_SOURCE_DIR/examples/web-wdm" "$WORK/options-wdm"
printf '[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=1\r\n' >"$WORK/options-wdm/setup.ini"
must_replay "$WORK/options-wdm" winme-1 winme-2 winme-3
echo "ok: every row replayed under Wine as the simulator ran it"
