#include "ApplicationSuite.h"

#include "../core/Texts.h"

namespace tvx {

void InstallApplicationSuiteFromCommandLine(InstallContext& ctx, const Platform& platform) {
  CloseSuiteWindows(platform);
  platform.time.Sleep(500);
  RemovePreviousSuite(platform);
  chooseAppSetupPath(ctx, platform.files, chooseDriverFamily(ctx, DriverFamilyRule::MainDialog));
  if (ctx.appSetupFound == 0) {
    platform.windows.MessageBoxA(nullptr, kSuiteMissingText, kSetupCaption, MB_OK);
  } else if (!LaunchSuiteSetup(platform, ctx.appSetupPath)) {
    platform.windows.MessageBoxA(nullptr, kSuiteNotStartedText, kSetupCaption, MB_OK);
  }
  platform.exit.Exit(0);
}

SuiteStart InstallApplicationSuite(InstallContext& ctx, const Platform& platform, HWND mainDialog, int vxdFamily) {
  CloseSuiteWindows(platform);
  platform.time.Sleep(500);
  RemovePreviousSuite(platform);
  platform.windows.ShowWindow(mainDialog, SW_HIDE);
  while (true) {
    chooseAppSetupPath(ctx, platform.files, vxdFamily);
    if (ctx.appSetupFound != 0) break;
    const int answer = platform.windows.MessageBoxA(mainDialog, kInsertCdText, kSetupCaption, MB_OKCANCEL);
    // A prompt that cannot be shown is taken as Cancel: nobody can answer it.
    if (answer != IDCANCEL && answer != 0) continue;
    // The staged driver is finished as a driver-only run finishes it, without the suite's
    // installer: Windows would not find it after the restart otherwise.
    if (ctx.installDriver != 0) return SuiteStart::DriverLeftToFinish;
    platform.windows.MessageBoxA(mainDialog, kSuiteMissingText, kSetupCaption, MB_OK);
    return SuiteStart::NotStarted;
  }
  // Without its markers the suite's installer would not know what is left to do.
  if (!WriteResumeMarkers(platform, ctx.installDriver, vxdFamily)) {
    platform.windows.MessageBoxA(mainDialog, kInstallationIncomplete, kSetupCaption, MB_OK);
    return SuiteStart::NotStarted;
  }
  if (!LaunchSuiteSetup(platform, ctx.appSetupPath)) {
    platform.windows.MessageBoxA(mainDialog, kSuiteNotStartedText, kSetupCaption, MB_OK);
    // Nothing else would finish a staged driver: it is finished as when the CD is given up.
    return ctx.installDriver != 0 ? SuiteStart::DriverLeftToFinish : SuiteStart::NotStarted;
  }
  return SuiteStart::Started;
}

}  // namespace tvx
