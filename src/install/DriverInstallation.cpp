#include "DriverInstallation.h"

#include "Steps.h"

namespace tvx {

void RunDriverInstallation(InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner,
                           InfPatcher* patcher) {
  // Without the package there is nothing to install: the earlier driver stays as it is.
  if (!HoldsDriverPackage(platform.files, DriverPackageFolder(ctx, kind, platform.files))) {
    RefuseMissingPackage(platform, owner);
  }
  StagedInfList stagedInfList;
  PrepareForDriverInstall(ctx, platform, kind, owner, stagedInfList);
  StageDriverPackage(ctx, platform, kind, stagedInfList, patcher);
  const bool vxdFamily = kind != DriverRunKind::WdmOptionsDialog && ctx.useVxdDriver == 1;
  RewriteInfSourceDisks(platform, stagedInfList, vxdFamily);
  PatchKernelStreamingInfs(ctx, platform, kind);
  stagedInfList.clear();
  if (kind != DriverRunKind::MainDialogWithSuite) RegisterDriverAndRestart(ctx, platform, kind, owner);
  // The runs that come back to the main dialog give the arrow back; the others ended the process.
  platform.windows.ShowWaitCursor(false);
}

}  // namespace tvx
