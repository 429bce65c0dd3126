#include "Dialogs.h"

namespace tvx {

// The dialogs are not built yet: each is shown as cancelled at once, which ends the program
// without a change to the machine.
int RunSetupDialog(CWinApp&, InstallContext&, const Platform&) { return IDCANCEL; }
int RunWdmOptionsDialog(CWinApp&, InstallContext&, const Platform&) { return IDCANCEL; }
int RunVxdOptionsDialog(CWinApp&, InstallContext&, const Platform&) { return IDCANCEL; }

}  // namespace tvx
