// What every flow of the setup consults: where the CD is, which Windows runs, what the CD's
// setup.ini asks for, which driver family to install and what the user chose.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

struct InstallContext {
  std::string sourceDir;  // directory of the running setup program, always ending in a backslash

  int isWin95 = 0;
  int isWin98 = 0;  // first edition or Second Edition
  int isWin98SE = 0;
  int isWinMe = 0;
  int isNT4 = 0;
  int isNT5 = 0;  // Windows 2000, XP and later NT versions

  // setup.ini, section "InstallOption".
  int driverOnly = 0;
  int windowsMEDriverAskUser = 0;
  int windowsMEDriver = 1;
  int windows98SEDriverAskUser = 0;
  int windows98SEDriver = 0;
  int webSetup = 0;
  int installWDMDriver = 0;

  int useVxdDriver = 0;  // 1: the VxD package of "W95-98"; 0: the WDM package of "W2K-ME"
  std::string appSetupPath;
  int appSetupFound = 0;
  int installApps = 0;
  int installDriver = 0;
};

// Which rule picks the driver family: M in the main dialog, D in the driver-only flows from
// the CD, W in the web package flows.
enum class DriverFamilyRule { M, D, W };

// Fills the six OS flags from GetVersionExA; false (all flags clear) when the query fails.
bool classifyOs(InstallContext& ctx, ISystemInfo& system);
// Fills sourceDir from the program path as started, with the current directory as help; falls
// back to the folder of the running module when the path cannot tell the folder or the version
// query failed.
void deriveSourceDir(InstallContext& ctx, const std::string& programPath, bool versionKnown, const Platform& platform);
void readInstallOptions(InstallContext& ctx, IProfiles& profiles);
int chooseDriverFamily(const InstallContext& ctx, DriverFamilyRule rule);
void chooseAppSetupPath(InstallContext& ctx, IFileSystem& files);

}  // namespace tvx
