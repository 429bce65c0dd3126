// The main selection dialog: applications, device driver or both, and the work they start.
#pragma once
#include <string>

#include "../core/InstallContext.h"
#include "../framework/CDialog.h"
#include "MinimisedIcon.h"
#include "resource.h"

namespace tvx {

class CSetupDlg : public CDialog {
 public:
  // `programPath` is the program as it was started, from which the dialog derives the CD folder.
  CSetupDlg(InstallContext& ctx, const Platform& platform, std::string programPath);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(UINT id, UINT code) override;
  bool OnSysCommand(UINT id, LPARAM lParam) override;
  bool OnPaint() override;
  HICON OnQueryDragIcon() override;

 private:
  void AddAboutItemToSystemMenu();
  // Runs the architecture dialog; false when the user did not answer with OK.
  bool AskDriverArchitecture();
  void OnInstallOptionClicked();
  bool BoxChecked(int id) { return platform().dialogs.IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

  InstallContext& ctx_;
  std::string programPath_;
  CWnd pleaseWait_;
  CButton okButton_;
  CButton driverBox_;
  CButton appsBox_;
  HICON icon_;
};

}  // namespace tvx
