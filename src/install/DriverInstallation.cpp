#include "DriverInstallation.h"

#include "Steps.h"

namespace tvx {

void RunDriverInstallation(InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner,
                           InfPatcher* patcher) {
  // Without the package there is nothing to install: the earlier driver stays as it is.
  if (!DriverPackageIsThere(ctx, platform, kind)) RefuseMissingPackage(platform, owner);
  // A Windows the program cannot tell (its version could not be read) gets no driver it may not fit.
  if (kind != DriverRunKind::WdmOptionsDialog && !ctx.isWin95 && !ctx.isWin98 && !ctx.isWinMe) {
    TellInstallationIncomplete(platform, owner);
  }
  StagedInfList stagedInfList;
  PrepareForDriverInstall(ctx, platform, kind, owner, stagedInfList);
  // Where Windows would not find the driver the person is told the truth, and Windows' own INF
  // files are left alone.
  if (!StageDriverPackage(ctx, platform, kind, stagedInfList, patcher)) TellInstallationIncomplete(platform, owner);
  const bool vxdFamily = kind != DriverRunKind::WdmOptionsDialog && ctx.useVxdDriver == 1;
  if (!RewriteInfSourceDisks(platform, stagedInfList, vxdFamily)) TellInstallationIncomplete(platform, owner);
  PatchKernelStreamingInfs(ctx, platform, kind);
  stagedInfList.clear();
  if (kind != DriverRunKind::MainDialogWithSuite) RegisterDriverAndRestart(ctx, platform, kind, owner);
  // The runs that come back to the main dialog give the arrow back; the others ended the process.
  platform.windows.ShowWaitCursor(false);
}

void FinishDriverInstallation(InstallContext& ctx, const Platform& platform, HWND mainDialog) {
  platform.windows.ShowWaitCursor(true);
  RegisterDriverAndRestart(ctx, platform, DriverRunKind::MainDialogDriverOnly, mainDialog);
  platform.windows.ShowWaitCursor(false);
}

}  // namespace tvx
