#include "InstallContext.h"

namespace tvx {

void readInstallOptions(InstallContext& ctx, IProfiles& profiles) {
  const std::string file = ctx.sourceDir + "setup.ini";
  auto read = [&](const char* key, int defaultValue) {
    return static_cast<int>(profiles.GetPrivateProfileIntA("InstallOption", key, defaultValue, file.c_str()));
  };
  ctx.driverOnly = read("DriverOnly", 0);
  ctx.windowsMEDriverAskUser = read("WindowsMEDriverAskUser", 0);
  ctx.windowsMEDriver = read("WindowsMEDriver", 1);
  ctx.windows98SEDriverAskUser = read("Windows98SEDriverAskUser", 0);
  ctx.windows98SEDriver = read("Windows98SEDriver", 0);
  ctx.webSetup = read("WebSetup", 0);
  ctx.installWDMDriver = read("InstallWDMDriver", 0);
}

}  // namespace tvx
