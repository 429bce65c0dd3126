// The steps of a driver installation run, in the order RunDriverInstallation takes them.
#pragma once
#include <string>
#include <vector>

#include "../core/FileCopy.h"
#include "DriverInstallation.h"

namespace tvx {

// The family of the package a run kind takes: the WDM options dialog's is the WDM package, the
// download's follows the download's rule, every CD run's the rule of the CD's driver-only runs
// (whatever the main dialog chose).
bool RunTakesVxdPackage(const InstallContext& ctx, DriverRunKind kind);
// The folder the run takes the driver package from: the CD's folder of the family the CD's rules
// give (the VxD package's folder for this Windows, or the one above it when that is missing), or
// the download's own folder.
std::string DriverPackageFolder(const InstallContext& ctx, DriverRunKind kind, IFileSystem& files);
// A package of a family is there when its folder holds an INF that names files on the family's
// disk: "1" for the VxD package, "200" for the WDM package (the disks the INF preparation points
// at the install folder).
bool HoldsDriverPackage(const Platform& platform, const std::string& folder, bool vxdFamily);
// The same for the package the run kind takes, of the family its rule gives.
bool DriverPackageIsThere(const InstallContext& ctx, const Platform& platform, DriverRunKind kind);
// Tells the person the installation files are missing and ends the program; nothing was changed.
[[noreturn]] void RefuseMissingPackage(const Platform& platform, HWND owner);
// Tells the person the installation could not be completed and ends the program, without a
// restart: something Windows needs of the driver could not be put in place.
[[noreturn]] void TellInstallationIncomplete(const Platform& platform, HWND owner);
// Tells the person that no driver is installed on a Windows whose version the program cannot tell
// (it could not be read, or names no Windows the program knows) and ends the program; nothing was
// changed.
[[noreturn]] void RefuseUnknownWindows(const Platform& platform, HWND owner);

// Closes the top-level window of this title (WM_CLOSE), if there is one.
void CloseWindowTitled(const Platform& platform, const char* title);

// The announcement, closing the programs that hold the mixer, the tray's volume icon,
// mixerdef.ini, and the removal of the earlier drivers. In WdmOptionsDialog it also refuses every
// Windows but 98 SE and Me, ending the process.
void PrepareForDriverInstall(const Platform& platform, DriverRunKind kind, HWND owner);

// Copies the package of the family the run kind's rule gives (the WDM options dialog's: the WDM
// package) to its install folder and into the INF folders, the catalog, the mirror in the Windows
// setup source, and queues the mixer replacement.
StagedPackage StageDriverPackage(const InstallContext& ctx, const Platform& platform, DriverRunKind kind,
                                 InfPatcher* patcher);

// Points the staged INF copies at the install folder (VxD: appended to key "1"; WDM: key "200"
// and the catalog as a source file of disk 200). False when a copy could not be read or written.
bool RewriteInfSourceDisks(const Platform& platform, const StagedInfList& stagedInfList, bool vxdFamily);

// Gives the copy lines of Windows' kernel-streaming INF files the flag that keeps existing files.
// `vxdFamily`: the family the run staged.
void PatchKernelStreamingInfs(const InstallContext& ctx, const Platform& platform, DriverRunKind kind, bool vxdFamily);

// Registers the WDM driver, re-enumerates the devices, waits for the installation, shows the
// completion message and asks Windows to restart. Returns in MainDialogDriverOnly; ends the
// process in the other run kinds.
// `vxdFamily`: the family the run staged; the VxD driver needs no registration.
void RegisterDriverAndRestart(const InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner,
                              bool vxdFamily);

// Waits until neither the device installer's window nor Windows' disk prompt has been seen for
// five polls of a second; `repaint` (or null) is redrawn after every poll.
void WaitForDeviceInstallWindows(const Platform& platform, HWND repaint);

// The installation source list with one more folder. The list is queried and written when the
// object is made, and the queried list released when release() is called (or the object goes).
class ExtendSourceList {
 public:
  ExtendSourceList(const Platform& platform, const std::string& folder);
  ~ExtendSourceList() { release(); }
  ExtendSourceList(const ExtendSourceList&) = delete;
  ExtendSourceList& operator=(const ExtendSourceList&) = delete;
  void release();
  // Whether the list now holds the folder, or this Windows keeps no list the setup API can reach
  // (its functions are missing or not implemented): false when reading or writing it failed.
  bool done() const { return extended_ || unavailable_; }

 private:
  IDevices& devices_;
  LPCSTR* queried_ = nullptr;
  UINT count_ = 0;
  bool extended_ = false;
  bool unavailable_ = false;
};

}  // namespace tvx
