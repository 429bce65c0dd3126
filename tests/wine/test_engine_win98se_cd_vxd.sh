#!/usr/bin/env bash
# Windows 98 SE, the CD's setup.ini asking for the VxD driver there: "/DRIVER" stages the VxD
# package of W95-98\drv\98, copies its INF into INF and INF\OTHER pointing at the install folder,
# and leaves Windows' kernel-streaming INF files alone; Wine ends as the simulated machine.
source "$(dirname "$0")/engine.sh"
engine_run "$TVX_SOURCE_DIR/tests/wine/machines/engine-win98se-cd-vxd" win98 /DRIVER
expect_messages "$ANNOUNCEMENT" "$COMPLETION"
expect_same_state
grep -q '^file C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF: present$' "$WORK/sim.txt" || fail "no INF copy in INF\\OTHER"
grep -q '^  1="Tarvic Driver Disk",,, <short of C:\\Program Files\\Tarvic\\W95-98>$' "$WORK/sim.txt" ||
  fail "the INF copies do not name the install folder"
expect_mixer_replaced "MZ mixer, VxD package"
echo "ok: the run took $ENGINE_SECONDS s"
