#include "DriverInstallation.h"

#include "Steps.h"

namespace tvx {

StagedPackage RunDriverInstallation(InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner,
                                    InfPatcher* patcher) {
  // A Windows the program cannot tell (its version could not be read) gets no driver it may not
  // fit, and running Setup again would not tell it either: the person is told so. Which package
  // would be its own cannot be told either, so this comes first.
  if (kind != DriverRunKind::WdmOptionsDialog && !ctx.isWin95 && !ctx.isWin98 && !ctx.isWinMe) {
    RefuseUnknownWindows(platform, owner);
  }
  // Without the package there is nothing to install: the earlier driver stays as it is.
  if (!DriverPackageIsThere(ctx, platform, kind)) RefuseMissingPackage(platform, owner);
  PrepareForDriverInstall(platform, kind, owner);
  // Where Windows would not find the driver the person is told the truth, and Windows' own INF
  // files are left alone.
  const StagedPackage staged = StageDriverPackage(ctx, platform, kind, patcher);
  if (!staged.whole) TellInstallationIncomplete(platform, owner);
  if (!RewriteInfSourceDisks(platform, staged.infCopies, staged.vxd)) TellInstallationIncomplete(platform, owner);
  PatchKernelStreamingInfs(ctx, platform, kind, staged.vxd);
  if (kind != DriverRunKind::MainDialogWithSuite) RegisterDriverAndRestart(ctx, platform, kind, owner, staged.vxd);
  // The runs that come back to the main dialog give the arrow back; the others ended the process.
  platform.windows.ShowWaitCursor(false);
  return staged;
}

void FinishDriverInstallation(InstallContext& ctx, const Platform& platform, HWND mainDialog, bool vxdFamily) {
  platform.windows.ShowWaitCursor(true);
  RegisterDriverAndRestart(ctx, platform, DriverRunKind::MainDialogDriverOnly, mainDialog, vxdFamily);
  platform.windows.ShowWaitCursor(false);
}

}  // namespace tvx
