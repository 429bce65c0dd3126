#include "ApplicationSuite.h"

namespace tvx {

namespace {
const char* const kSuiteMissing = "Can not find the Tarvic Sound Suite setup program.";
const char* const kIncomplete = "Can not complete the installation. Please run Setup again.";
}  // namespace

void InstallApplicationSuiteFromCommandLine(InstallContext& ctx, const Platform& platform) {
  CloseSuiteWindows(platform);
  platform.time.Sleep(500);
  RemovePreviousSuite(platform);
  ctx.useVxdDriver = chooseDriverFamily(ctx, DriverFamilyRule::M);
  chooseAppSetupPath(ctx, platform.files);
  // An installer that is missing, or that does not start, is the same to the person.
  if (ctx.appSetupFound == 0 || !LaunchSuiteSetup(platform, ctx.appSetupPath)) {
    platform.windows.MessageBoxA(nullptr, kSuiteMissing, "Setup", MB_OK);
  }
  platform.exit.Exit(0);
}

int InstallApplicationSuite(InstallContext& ctx, const Platform& platform, HWND mainDialog) {
  CloseSuiteWindows(platform);
  platform.time.Sleep(500);
  RemovePreviousSuite(platform);
  platform.windows.ShowWindow(mainDialog, SW_HIDE);
  while (true) {
    chooseAppSetupPath(ctx, platform.files);
    if (ctx.appSetupFound != 0) break;
    const int answer = platform.windows.MessageBoxA(
        mainDialog, "Can not find the Tarvic Sound Suite setup program.\n Please insert the installation CD now.",
        "Setup", MB_OKCANCEL);
    // A prompt that cannot be shown is taken as Cancel: nobody can answer it.
    if (answer != IDCANCEL && answer != 0) continue;
    if (ctx.installDriver != 0) {
      platform.windows.MessageBoxA(mainDialog, "Setup completed! The system will restart now!", "Setup", MB_OK);
      platform.restart.ExitWindowsEx(EWX_REBOOT, 0);
      return IDOK;
    }
    platform.windows.MessageBoxA(mainDialog, kSuiteMissing, "Setup", MB_OK);
    return IDCANCEL;
  }
  // Without its markers the suite's installer would not know what is left to do.
  if (!WriteResumeMarkers(platform, ctx.installDriver, ctx.useVxdDriver)) {
    platform.windows.MessageBoxA(mainDialog, kIncomplete, "Setup", MB_OK);
    return IDCANCEL;
  }
  if (!LaunchSuiteSetup(platform, ctx.appSetupPath)) {
    platform.windows.MessageBoxA(mainDialog, kSuiteMissing, "Setup", MB_OK);
    return IDCANCEL;
  }
  return IDOK;
}

}  // namespace tvx
