#include "ApplicationSuite.h"

namespace tvx {

void ApplyStartupAudioSettings(const InstallContext&, const Platform&) {}

void InstallApplicationSuiteFromCommandLine(InstallContext&, const Platform& platform) { platform.exit.Exit(0); }

}  // namespace tvx
