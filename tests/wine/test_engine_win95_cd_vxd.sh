#!/usr/bin/env bash
# Windows 95, the CD started with "/DRIVER": the VxD package of W95-98\drv\95 is staged, its INF
# copies point at the install folder, the mixer replacement is queued, and Windows is asked to
# restart; Wine's files, INI entries and registry end as the simulated machine's.
source "$(dirname "$0")/engine.sh"
engine_run "$TVX_SOURCE_DIR/tests/wine/machines/engine-win95-cd-vxd" win95 /DRIVER
expect_messages "$ANNOUNCEMENT" "$COMPLETION"
expect_same_state
echo "ok: the run took $ENGINE_SECONDS s"
expect_mixer_replaced "MZ mixer, VxD package"
