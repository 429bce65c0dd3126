#include "Dialogs.h"

#include "../framework/CWinApp.h"
#include "CSetupDlg.h"
#include "CVxdOptionsDlg.h"
#include "CWdmOptionsDlg.h"

namespace tvx {

namespace {

// Runs the dialog modally as the application's main window.
int runAsMainWindow(CWinApp& app, CDialog& dialog) {
  app.m_pMainWnd = &dialog;
  const INT_PTR result = dialog.DoModal();
  app.m_pMainWnd = nullptr;
  return static_cast<int>(result);
}

}  // namespace

int RunSetupDialog(CWinApp& app, InstallContext& ctx, const Platform& platform) {
  CSetupDlg dialog(ctx, platform, app.m_programPath);
  return runAsMainWindow(app, dialog);
}

int RunWdmOptionsDialog(CWinApp& app, InstallContext& ctx, const Platform& platform) {
  CWdmOptionsDlg dialog(ctx, platform, app.m_programPath);
  return runAsMainWindow(app, dialog);
}

int RunVxdOptionsDialog(CWinApp& app, InstallContext&, const Platform& platform) {
  CVxdOptionsDlg dialog(platform, app.m_programPath);
  return runAsMainWindow(app, dialog);
}

}  // namespace tvx
