// The modal dialogs the start-up shows: the main selection dialog and the two driver option dialogs.
#pragma once
#include "../core/InstallContext.h"

namespace tvx {

class CWinApp;

int RunSetupDialog(CWinApp& app, InstallContext& ctx, const Platform& platform);
int RunWdmOptionsDialog(CWinApp& app, InstallContext& ctx, const Platform& platform);
int RunVxdOptionsDialog(CWinApp& app, InstallContext& ctx, const Platform& platform);

}  // namespace tvx
