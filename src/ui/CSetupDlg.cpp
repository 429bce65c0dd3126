#include "CSetupDlg.h"

#include "../core/SourceDir.h"
#include "../core/Texts.h"
#include "../install/DriverInstallation.h"
#include "../suite/ApplicationSuite.h"
#include "CAboutDlg.h"
#include "CDriverArchDlg.h"

namespace tvx {

CSetupDlg::CSetupDlg(InstallContext& ctx, const Platform& platform, std::string programPath)
    : CDialog(IDD_SETUP_DIALOG, platform), ctx_(ctx), programPath_(std::move(programPath)) {
  icon_ = platform.dialogs.LoadIconA(IDR_MAINFRAME);
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PLEASE_WAIT, pleaseWait_);
  DDX_Control(pDX, IDOK, okButton_);
  DDX_Control(pDX, IDC_INSTALL_DRIVER, driverBox_);
  DDX_Control(pDX, IDC_INSTALL_APPS, appsBox_);
}

BOOL CSetupDlg::OnInitDialog() {
  const Platform& p = platform();
  CDialog::OnInitDialog();

  // The CD folder as the start-up derived it, with the same fall-back to the module's folder.
  ctx_.sourceDir = sourceDirOf(programPath_, p);

  AddAboutItemToSystemMenu();
  p.windows.SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  p.windows.SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

  p.dialogs.CheckDlgButton(m_hWnd, IDC_INSTALL_APPS, BST_CHECKED);
  p.dialogs.CheckDlgButton(m_hWnd, IDC_INSTALL_DRIVER, BST_CHECKED);
  pleaseWait_.ShowWindow(SW_HIDE);

  readDriverChoiceOptions(ctx_, p.profiles);
  // The version is read again here. Where this read fails, the start-up's answer stands (every
  // flag clear when that read failed too: the dialog then offers what it offers on a Windows no
  // flag names, and a driver run refuses it).
  InstallContext again;
  if (classifyOs(again, p.system)) {
    ctx_.isWin95 = again.isWin95;
    ctx_.isWin98 = again.isWin98;
    ctx_.isWin98SE = again.isWin98SE;
    ctx_.isWinMe = again.isWinMe;
    ctx_.isNT4 = again.isNT4;
    ctx_.isNT5 = again.isNT5;
  }
  if (ctx_.isNT4) {
    // No driver is installed on NT 4.0.
    p.dialogs.CheckDlgButton(m_hWnd, IDC_INSTALL_DRIVER, BST_UNCHECKED);
    driverBox_.EnableWindow(FALSE);
  }
  ctx_.chosenVxdDriver = chooseDriverFamily(ctx_, DriverFamilyRule::MainDialog);

  const bool ask =
      (ctx_.isWinMe && ctx_.windowsMEDriverAskUser != 0) || (ctx_.isWin98SE && ctx_.windows98SEDriverAskUser != 0);
  if (ask && !AskDriverArchitecture()) {
    // Closing before the dialog was ever shown ends it as cancelled, and the program with it.
    p.windows.SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return FALSE;
  }

  chooseAppSetupPath(ctx_, p.files, ctx_.chosenVxdDriver);
  if (ctx_.appSetupFound == 0) {
    p.windows.MessageBoxA(m_hWnd, kMissingInstallationFiles, kSetupCaption, MB_OK);
    p.exit.Exit(0);
  }
  return TRUE;
}

void CSetupDlg::AddAboutItemToSystemMenu() {
  const Platform& p = platform();
  HMENU menu = p.dialogs.GetSystemMenu(m_hWnd, FALSE);
  if (menu == nullptr) return;
  char text[256] = {};
  p.dialogs.LoadStringA(IDS_ABOUTBOX, text, sizeof(text));
  if (text[0] == '\0') return;
  p.dialogs.AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  p.dialogs.AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text);
}

bool CSetupDlg::AskDriverArchitecture() {
  CDriverArchDlg arch(platform());
  arch.vxdSelected = ctx_.chosenVxdDriver;
  if (arch.DoModal() != IDOK) return false;
  ctx_.chosenVxdDriver = arch.vxdSelected;
  return true;
}

bool CSetupDlg::OnCommand(UINT id, UINT code) {
  if (code == BN_CLICKED && (id == IDC_INSTALL_APPS || id == IDC_INSTALL_DRIVER)) {
    OnInstallOptionClicked();
    return true;
  }
  return CDialog::OnCommand(id, code);
}

void CSetupDlg::OnInstallOptionClicked() {
  okButton_.EnableWindow(BoxChecked(IDC_INSTALL_APPS) || BoxChecked(IDC_INSTALL_DRIVER) ? TRUE : FALSE);
}

void CSetupDlg::OnOK() {
  const Platform& p = platform();
  ctx_.installApps = BoxChecked(IDC_INSTALL_APPS) ? 1 : 0;
  ctx_.installDriver = BoxChecked(IDC_INSTALL_DRIVER) ? 1 : 0;
  if (!ctx_.installApps && !ctx_.installDriver) {
    CDialog::OnCancel();
    return;
  }

  appsBox_.ShowWindow(SW_HIDE);
  driverBox_.ShowWindow(SW_HIDE);
  pleaseWait_.ShowWindow(SW_SHOW);
  pleaseWait_.RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  p.time.Sleep(200);

  // The suite's installer is the staged family's where a driver was staged, the chosen one's else.
  int suiteFamily = ctx_.chosenVxdDriver;
  if (ctx_.installDriver && !ctx_.isNT4 && ctx_.installApps) {
    // Stages the package and prepares its INF files; the suite's installer finishes the rest.
    suiteFamily = RunDriverInstallation(ctx_, p, DriverRunKind::MainDialogWithSuite, m_hWnd).vxd ? 1 : 0;
  }
  if (ctx_.installApps) {
    const SuiteStart suite = InstallApplicationSuite(ctx_, p, m_hWnd, suiteFamily);
    if (suite == SuiteStart::DriverLeftToFinish) FinishDriverInstallation(ctx_, p, m_hWnd, suiteFamily == 1);
    EndDialog(suite == SuiteStart::NotStarted ? IDCANCEL : IDOK);
    return;
  }
  if (ctx_.installDriver && !ctx_.isNT4) {
    RunDriverInstallation(ctx_, p, DriverRunKind::MainDialogDriverOnly, m_hWnd);
  }
  CDialog::OnOK();
}

bool CSetupDlg::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg about(platform(), m_hWnd);
  about.DoModal();
  return true;
}

bool CSetupDlg::OnPaint() { return PaintMinimisedIcon(platform(), m_hWnd, icon_); }

HICON CSetupDlg::OnQueryDragIcon() { return icon_; }

}  // namespace tvx
