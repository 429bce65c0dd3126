#include "InstallContext.h"

namespace tvx {

namespace {

int readOption(IProfiles& profiles, const InstallContext& ctx, const char* key, int defaultValue) {
  const std::string file = ctx.sourceDir + "setup.ini";
  return static_cast<int>(profiles.GetPrivateProfileIntA("InstallOption", key, defaultValue, file.c_str()));
}

}  // namespace

void readDriverChoiceOptions(InstallContext& ctx, IProfiles& profiles) {
  ctx.windowsMEDriverAskUser = readOption(profiles, ctx, "WindowsMEDriverAskUser", 0);
  ctx.windowsMEDriver = readOption(profiles, ctx, "WindowsMEDriver", 1);
  ctx.windows98SEDriverAskUser = readOption(profiles, ctx, "Windows98SEDriverAskUser", 0);
  ctx.windows98SEDriver = readOption(profiles, ctx, "Windows98SEDriver", 0);
}

void readInstallOptions(InstallContext& ctx, IProfiles& profiles) {
  ctx.driverOnly = readOption(profiles, ctx, "DriverOnly", 0);
  readDriverChoiceOptions(ctx, profiles);
  ctx.webSetup = readOption(profiles, ctx, "WebSetup", 0);
  ctx.installWDMDriver = readOption(profiles, ctx, "InstallWDMDriver", 0);
}

}  // namespace tvx
