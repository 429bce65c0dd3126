#include "Dialogs.h"

#include "../platform/framework/CWinApp.h"
#include "CSetupDlg.h"

namespace tvx {

int RunSetupDialog(CWinApp& app, InstallContext& ctx, const Platform& platform) {
  CSetupDlg dialog(ctx, platform, app.m_programPath);
  app.m_pMainWnd = &dialog;
  const INT_PTR result = dialog.DoModal();
  app.m_pMainWnd = nullptr;
  return static_cast<int>(result);
}

// The driver option dialogs are not built yet: each is shown as cancelled at once, which ends
// the program without a change to the machine.
int RunWdmOptionsDialog(CWinApp&, InstallContext&, const Platform&) { return IDCANCEL; }
int RunVxdOptionsDialog(CWinApp&, InstallContext&, const Platform&) { return IDCANCEL; }

}  // namespace tvx
