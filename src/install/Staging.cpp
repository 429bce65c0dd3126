#include <algorithm>

#include "../cleanup/Cleanup.h"
#include "../core/Constants.h"
#include "../core/FileCopy.h"
#include "../core/FolderScan.h"
#include "../core/PathText.h"
#include "../core/Scoped.h"
#include "../core/Text.h"
#include "Steps.h"

namespace tvx {

namespace {

const char* const kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

bool holdsSetup(const std::string& name) { return upperCased(name).find("SETUP") != std::string::npos; }

// The Windows setup source folder when the registry names one that exists (it becomes the
// current folder); empty otherwise.
std::string windowsSourceFolder(const Platform& platform) {
  IRegistry& registry = platform.registry;
  const ScopedKey key(registry, HKEY_LOCAL_MACHINE, kSetupKey, KEY_ALL_ACCESS);
  if (!key.isOpen()) return {};
  char path[MAX_PATH + 1] = {};
  DWORD type = REG_SZ;
  DWORD size = MAX_PATH;
  if (registry.RegQueryValueExA(key.get(), "SourcePath", &type, reinterpret_cast<BYTE*>(path), &size) ==
          ERROR_SUCCESS &&
      platform.files.SetCurrentDirectoryA(path)) {
    return withBackslash(path);
  }
  return {};
}

struct Package {
  std::string sourceDir;
  std::string installDir;
  bool vxd = false;
};

// Which package the run stages, and from where; the VxD package also retires the legacy files.
Package choosePackage(const InstallContext& ctx, const Platform& platform, DriverRunKind kind) {
  IFileSystem& files = platform.files;
  Package package;
  package.vxd = RunTakesVxdPackage(ctx, kind);
  package.sourceDir = ctx.sourceDir;
  if (kind != DriverRunKind::WdmOptionsDialog && kind != DriverRunKind::WebPackage) {
    package.sourceDir = ctx.sourceDir + "W2K-ME\\drv\\";
    if (package.vxd) {
      package.sourceDir = ctx.sourceDir + (ctx.isWin95 ? "W95-98\\drv\\95\\" : "W95-98\\drv\\98\\");
    }
  }
  if (package.vxd) {
    CleanOldDriverFiles(platform, 1);
    if (kind != DriverRunKind::WebPackage && !files.SetCurrentDirectoryA(package.sourceDir.c_str())) {
      package.sourceDir = ctx.sourceDir + "W95-98\\drv\\";
    }
    files.CreateDirectoryA(kVxdInstallDir);
    if (kind == DriverRunKind::WebPackage) files.CreateDirectoryA(kVxdSubPackageDir);
  } else {
    files.CreateDirectoryA(kWdmInstallDir);
  }
  package.installDir = package.vxd ? kVxdInstallDir : kWdmInstallDir;
  return package;
}

// The new mixer program takes the old one's place at the next start of Windows; the old one is
// kept as Mixer.old, and the previous Mixer.old deleted. False when a step of it failed.
bool queueMixerReplacement(const Platform& platform, const std::string& packageDir, const std::string& windows) {
  const std::string newMixer = packageDir + "Mixer.dat";
  // Only a package without the file has no mixer: one that cannot be read (the CD taken out, a
  // read error) leaves the step undone.
  const Presence presence = PresenceOf(platform, newMixer);
  if (presence != Presence::There) return presence == Presence::Missing;
  // The queue is carried out at the next start of Windows, whenever it comes: each entry waits for
  // the one before it, so that the mixer in use is never moved aside with nothing to take its place.
  if (!CopyFileOver(platform, newMixer, windows + "Mixer.dat", false)) return false;
  if (!QueueRenameOnRestart(platform, "NUL", windows + "Mixer.old")) return false;
  if (!QueueRenameOnRestart(platform, windows + "Mixer.old", windows + "Mixer.exe")) return false;
  if (QueueRenameOnRestart(platform, windows + "Mixer.exe", windows + "Mixer.dat")) return true;
  ForgetRenameOnRestart(platform, windows + "Mixer.old");
  return false;
}

}  // namespace

StagedPackage StageDriverPackage(const InstallContext& ctx, const Platform& platform, DriverRunKind kind,
                                 InfPatcher* patcher) {
  IFileSystem& files = platform.files;
  const bool wdmDialog = kind == DriverRunKind::WdmOptionsDialog;
  const std::string windows = windowsFolder(platform.system);
  if (windows.empty()) return {};  // no Windows folder: no INF folder to place the package in
  const std::string infDir = infFolderIn(windows);
  files.CreateDirectoryA((infDir + "OTHER\\").c_str());
  files.CreateDirectoryA((infDir + "CATALOG\\").c_str());

  std::string mirrorDir = windowsSourceFolder(platform);
  bool mirror = !mirrorDir.empty();

  files.CreateDirectoryA(kProgramFilesDir);
  files.CreateDirectoryA(kMakerDir);
  if (wdmDialog) {
    files.CreateDirectoryA(kWdmInstallDir);
  } else {
    files.CreateDirectoryA(kDosDir);
    files.CreateDirectoryA(kDosAppDir);
    const std::string dosDrivers = ctx.sourceDir + "Dosdrv\\";
    copyFolder(platform, dosDrivers, kDosDir);
    copyFolder(platform, dosDrivers + "DOSAPP\\", kDosAppDir);
  }

  const Package package = choosePackage(ctx, platform, kind);
  StagedPackage staged;
  staged.vxd = package.vxd;
  const bool copyInfs = wdmDialog || package.vxd || ctx.isWin98 != 0;
  const FolderListing listing = listPlainFiles(platform, package.sourceDir + "*.*");
  // A folder without the package's INF (its own folder could not be made current, say) stages no driver.
  bool whole = listing.whole && std::any_of(listing.names.begin(), listing.names.end(), isInfName);
  for (const std::string& name : listing.names) {
    const std::string source = package.sourceDir + name;
    const std::string installed = package.installDir + name;
    whole = CopyFileOver(platform, source, installed, wdmDialog) && whole;
    if (mirror && !holdsSetup(name) && !CopyFileOver(platform, source, mirrorDir + name, false)) {
      // The setup source cannot take the file: it goes to INF\OTHER, and no later file is mirrored.
      mirror = false;
      CopyFileOver(platform, source, infDir + "OTHER\\" + name, false);
    }
    if (!isInfName(name) || !copyInfs) continue;
    std::string infSource = source;
    if (wdmDialog) {
      if (patcher != nullptr) whole = patcher->ApplyWdmOptionsToInf(installed) && whole;
      infSource = installed;
    }
    for (const std::string& copy : {infDir + name, infDir + "OTHER\\" + name}) {
      whole = CopyFileOver(platform, infSource, copy, true) && whole;
      staged.infCopies.push_back(copy);
    }
  }

  // The CD's VxD package has no catalog; the flat packages bring one for either family. A
  // package without it has nothing to copy.
  if (!package.vxd || kind == DriverRunKind::WebPackage || wdmDialog) {
    if (!CopyFileOver(platform, package.sourceDir + "tvaudio.cat", infDir + "CATALOG\\tvaudio.cat", false)) {
      whole = whole && platform.system.GetLastError() == ERROR_FILE_NOT_FOUND;
    }
  }
  if (!wdmDialog) whole = queueMixerReplacement(platform, package.sourceDir, windows) && whole;
  if (kind == DriverRunKind::WebPackage && (ctx.isWin95 || ctx.isWin98)) {
    copyFolder(platform, ctx.sourceDir + "026\\", kVxdSubPackageDir);
  }
  staged.whole = whole;
  return staged;
}

}  // namespace tvx
