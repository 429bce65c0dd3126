// The application suite: start-up audio settings, closing and uninstalling the running or
// earlier suite, and starting the suite's own installer.
#pragma once
#include "../app/InstallContext.h"

namespace tvx {

void ApplyStartupAudioSettings(const InstallContext& ctx, const Platform& platform);
// The "/AP" flow of the start-up; ends the process.
[[noreturn]] void InstallApplicationSuiteFromCommandLine(InstallContext& ctx, const Platform& platform);

}  // namespace tvx
