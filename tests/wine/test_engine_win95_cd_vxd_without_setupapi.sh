#!/usr/bin/env bash
# Windows 95 as it ships, without setupapi.dll and cfgmgr32.dll (disabled in Wine), the CD
# started with "/DRIVER": the earlier device cannot be looked for, and the run goes on as on any
# Windows 95: the VxD package is staged, its INF copies point at the install folder, the mixer
# replacement is queued and Windows is asked to restart; Wine's files, INI entries and registry
# end as the simulated machine's, whose Windows 95 lacks both DLLs.
source "$(dirname "$0")/engine.sh"
ENGINE_MISSING_DLLS="setupapi,cfgmgr32"
engine_run "$TVX_SOURCE_DIR/tests/wine/machines/engine-win95-cd-vxd-bare" win95 /DRIVER
expect_messages "$ANNOUNCEMENT" "$COMPLETION"
expect_same_state
echo "ok: the run took $ENGINE_SECONDS s without the setup API"
expect_mixer_replaced "MZ mixer, VxD package"
