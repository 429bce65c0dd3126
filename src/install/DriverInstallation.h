// The driver installation procedure, from the announcement to the restart.
#pragma once
#include "../app/InstallContext.h"

namespace tvx {

enum class DriverRunKind { MainDialogWithSuite, MainDialogDriverOnly, CommandLine, WebPackage, WdmOptionsDialog };

// Runs the driver installation. The CommandLine and WebPackage runs end the process.
void RunDriverInstallation(InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner);

}  // namespace tvx
