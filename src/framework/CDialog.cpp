#include "CDialog.h"

namespace tvx {

namespace {
// The running dialogs, innermost first: modal dialogs nest, one thread runs them.
CDialog* g_running = nullptr;
}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd != nullptr || pDX->m_bSaveAndValidate) return;
  control.Attach(pDX->m_dialog.GetDlgItem(id), pDX->m_dialog.platform());
}

CDialog::CDialog(int templateId, const Platform& platform, HWND parent) : templateId_(templateId), parent_(parent) {
  platform_ = &platform;
}

INT_PTR CDialog::DoModal() {
  outer_ = g_running;
  const INT_PTR result =
      platform().dialogs.DialogBoxParamA(templateId_, parent_, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  g_running = outer_;
  m_hWnd = nullptr;
  return result;
}

void CDialog::EndDialog(INT_PTR result) { platform().dialogs.EndDialog(m_hWnd, result); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(*this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(UINT id, UINT code) {
  if (code != BN_CLICKED) return false;
  if (id == static_cast<UINT>(IDOK)) {
    OnOK();
    return true;
  }
  if (id == static_cast<UINT>(IDCANCEL)) {
    OnCancel();
    return true;
  }
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->m_hWnd = window;
    g_running = dialog;
    return dialog->WindowProc(message, wParam, lParam);
  }
  for (CDialog* d = g_running; d != nullptr; d = d->outer_) {
    if (d->m_hWnd == window) return d->WindowProc(message, wParam, lParam);
  }
  return FALSE;  // messages before WM_INITDIALOG
}

INT_PTR CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(loWord(wParam), hiWord(wParam)) ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam), lParam) ? TRUE : FALSE;
    case WM_PAINT:
      return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      // The dialog procedure gives this message's result directly: the icon's handle.
      return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    default:
      return FALSE;
  }
}

}  // namespace tvx
