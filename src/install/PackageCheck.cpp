#include "../app/FolderScan.h"
#include "InstallPaths.h"
#include "Steps.h"

namespace tvx {

namespace {

bool isFolder(IFileSystem& files, const std::string& path) {
  const DWORD attributes = files.GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string DriverPackageFolder(const InstallContext& ctx, DriverRunKind kind, IFileSystem& files) {
  if (kind == DriverRunKind::WebPackage || kind == DriverRunKind::WdmOptionsDialog) return ctx.sourceDir;
  if (chooseDriverFamily(ctx, DriverFamilyRule::D) == 0) return ctx.sourceDir + "W2K-ME\\drv\\";
  const std::string own = ctx.sourceDir + (ctx.isWin95 ? "W95-98\\drv\\95\\" : "W95-98\\drv\\98\\");
  return isFolder(files, own) ? own : ctx.sourceDir + "W95-98\\drv\\";
}

bool HoldsDriverPackage(IFileSystem& files, const std::string& folder) {
  for (const std::string& name : plainFilesOf(files, folder + "*.*")) {
    if (isInfName(name)) return true;
  }
  return false;
}

void RefuseMissingPackage(const Platform& platform, HWND owner) {
  platform.windows.MessageBoxA(owner, kMissingInstallationFiles, "Setup", MB_OK);
  platform.exit.Exit(0);
}

}  // namespace tvx
