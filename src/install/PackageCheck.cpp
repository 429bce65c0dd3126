#include "../core/FolderScan.h"
#include "../core/Texts.h"
#include "Steps.h"

namespace tvx {

namespace {

constexpr DWORD kValueBuffer = 1024;

bool isFolder(IFileSystem& files, const std::string& path) {
  const DWORD attributes = files.GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string DriverPackageFolder(const InstallContext& ctx, DriverRunKind kind, IFileSystem& files) {
  if (kind == DriverRunKind::WebPackage || kind == DriverRunKind::WdmOptionsDialog) return ctx.sourceDir;
  if (!RunTakesVxdPackage(ctx, kind)) return ctx.sourceDir + "W2K-ME\\drv\\";
  const std::string own = ctx.sourceDir + (ctx.isWin95 ? "W95-98\\drv\\95\\" : "W95-98\\drv\\98\\");
  return isFolder(files, own) ? own : ctx.sourceDir + "W95-98\\drv\\";
}

bool HoldsDriverPackage(const Platform& platform, const std::string& folder, bool vxdFamily) {
  for (const std::string& name : plainFilesOf(platform.files, folder + "*.*")) {
    if (!isInfName(name)) continue;
    const std::string inf = folder + name;
    char disk[kValueBuffer] = {};
    platform.profiles.GetPrivateProfileStringA("SourceDisksNames", vxdFamily ? "1" : "200", "", disk, kValueBuffer,
                                               inf.c_str());
    char files[kValueBuffer] = {};
    platform.profiles.GetPrivateProfileStringA("SourceDisksFiles", nullptr, "", files, kValueBuffer, inf.c_str());
    if (disk[0] != '\0' && files[0] != '\0') return true;
  }
  return false;
}

bool RunTakesVxdPackage(const InstallContext& ctx, DriverRunKind kind) {
  switch (kind) {
    case DriverRunKind::WdmOptionsDialog:
      return false;
    case DriverRunKind::WebPackage:
      return chooseDriverFamily(ctx, DriverFamilyRule::WebPackage) == 1;
    default:
      return chooseDriverFamily(ctx, DriverFamilyRule::CdDriverOnly) == 1;
  }
}

bool DriverPackageIsThere(const InstallContext& ctx, const Platform& platform, DriverRunKind kind) {
  return HoldsDriverPackage(platform, DriverPackageFolder(ctx, kind, platform.files), RunTakesVxdPackage(ctx, kind));
}

void RefuseMissingPackage(const Platform& platform, HWND owner) {
  platform.windows.MessageBoxA(owner, kMissingInstallationFiles, kSetupCaption, MB_OK);
  platform.exit.Exit(0);
}

void RefuseUnknownWindows(const Platform& platform, HWND owner) {
  platform.windows.ShowWaitCursor(false);
  platform.windows.MessageBoxA(owner, kUnknownWindowsText, kSetupCaption, MB_OK);
  platform.exit.Exit(0);
}

void TellInstallationIncomplete(const Platform& platform, HWND owner) {
  platform.windows.ShowWaitCursor(false);
  platform.windows.MessageBoxA(owner, kInstallationIncomplete, kSetupCaption, MB_OK);
  platform.exit.Exit(0);
}

}  // namespace tvx
