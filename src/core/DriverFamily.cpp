#include "FolderScan.h"
#include "InstallContext.h"

namespace tvx {

int chooseDriverFamily(const InstallContext& ctx, DriverFamilyRule rule) {
  switch (rule) {
    case DriverFamilyRule::MainDialog:
      return (ctx.isWinMe && ctx.windowsMEDriver == 0) || (ctx.isWin98SE && ctx.windows98SEDriver == 0) ||
                     (ctx.isWin98 && !ctx.isWin98SE) || ctx.isWin95
                 ? 1
                 : 0;
    case DriverFamilyRule::CdDriverOnly:
      if (ctx.isWin95) return 1;
      if (ctx.isWinMe) return ctx.windowsMEDriver != 0 ? 0 : 1;
      if (ctx.isWin98) return ctx.windows98SEDriver != 0 ? 0 : 1;
      return 0;
    case DriverFamilyRule::WebPackage:
      if (ctx.isWin95) return 1;
      if (ctx.isWin98SE || ctx.isWinMe) return ctx.installWDMDriver != 0 ? 0 : 1;
      if (ctx.isWin98) return 1;
      return 0;
  }
  return 0;
}

void chooseAppSetupPath(InstallContext& ctx, IFileSystem& files, int vxdFamily) {
  const char* relative = "W2K-ME\\app\\Setup.exe";
  if (ctx.isWin95) {
    relative = "W95-98\\app\\Setup.exe";
  } else if (ctx.isWin98 || ctx.isWinMe) {
    relative = vxdFamily == 1 ? "W95-98\\app\\Setup.exe" : "W2K-ME\\app\\Setup.exe";
  } else if (ctx.isNT4) {
    relative = "NT40\\app\\Setup.exe";
  }
  ctx.appSetupPath = ctx.sourceDir + relative;
  // An installer is there when it opens for reading: one that Windows lists but that does not open
  // is not taken, and on the Windows 95 family the WDM family's takes its place.
  if ((ctx.isWin95 || ctx.isWin98 || ctx.isWinMe) && !files.CanOpenForReading(ctx.appSetupPath.c_str())) {
    ctx.appSetupPath = ctx.sourceDir + "W2K-ME\\app\\Setup.exe";
  }
  ctx.appSetupFound = files.CanOpenForReading(ctx.appSetupPath.c_str()) ? 1 : 0;
}

}  // namespace tvx
