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
  const bool staged = StageDriverPackage(ctx, platform, kind, stagedInfList, patcher);
  const bool vxdFamily = kind != DriverRunKind::WdmOptionsDialog && ctx.useVxdDriver == 1;
  const bool pointed = RewriteInfSourceDisks(platform, stagedInfList, vxdFamily);
  PatchKernelStreamingInfs(ctx, platform, kind);
  stagedInfList.clear();
  // Told complete, Windows would not find the driver: the person is told the truth instead.
  if (!staged || !pointed) TellInstallationIncomplete(platform, owner);
  if (kind != DriverRunKind::MainDialogWithSuite) RegisterDriverAndRestart(ctx, platform, kind, owner);
  // The runs that come back to the main dialog give the arrow back; the others ended the process.
  platform.windows.ShowWaitCursor(false);
}

}  // namespace tvx
