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

  // The family the main dialog offers and the person chose there (or the suite's command line):
  // 1: the VxD package of "W95-98"; 0: the WDM package of "W2K-ME". The family a run stages is
  // the run's own answer (StagedPackage), taken by the steps after it and by the suite.
  int chosenVxdDriver = 0;
  std::string appSetupPath;
  int appSetupFound = 0;
  int installApps = 0;
  int installDriver = 0;
};

// Which rule picks the driver family: the main dialog's (and the suite's), the CD's driver-only
// runs' (every CD run's staging too), the download's.
enum class DriverFamilyRule { MainDialog, CdDriverOnly, WebPackage };

// Fills the six OS flags from GetVersionExA; false (all flags clear) when the query fails.
bool classifyOs(InstallContext& ctx, ISystemInfo& system);
// setup.ini's section "InstallOption" in the source folder: every option, or the four that choose
// the driver family on 98 SE and Me.
void readInstallOptions(InstallContext& ctx, IProfiles& profiles);
void readDriverChoiceOptions(InstallContext& ctx, IProfiles& profiles);
// 1 for the VxD family, 0 for the WDM family.
int chooseDriverFamily(const InstallContext& ctx, DriverFamilyRule rule);
// The suite's installer for this Windows and the family given (1: VxD), or the WDM family's
// where that one is missing; appSetupFound tells whether it is there.
void chooseAppSetupPath(InstallContext& ctx, IFileSystem& files, int vxdFamily);

}  // namespace tvx
