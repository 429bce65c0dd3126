// The modal dialog class of the program's small framework: a dialog template run through the
// platform's dialog host, with its messages dispatched to virtual handlers.
#pragma once
#include "CWnd.h"

namespace tvx {

class CDialog;

// One exchange between a dialog's controls and its members: binding on the way in.
class CDataExchange {
 public:
  CDataExchange(CDialog& dialog, BOOL saveAndValidate) : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CDialog& m_dialog;
  BOOL m_bSaveAndValidate;
};

// Binds a member to the dialog's control `id` (once, the first time data is exchanged).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  // `parent` null: the dialog has no owner window.
  CDialog(int templateId, const Platform& platform, HWND parent = nullptr);

  // Runs the dialog until EndDialog; gives its result (IDOK, IDCANCEL, or -1 if it could not run).
  INT_PTR DoModal();
  void EndDialog(INT_PTR result);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  HWND GetDlgItem(int id) const { return platform().dialogs.GetDlgItem(m_hWnd, id); }
  int templateId() const { return templateId_; }
  const Platform& platform() const { return *platform_; }

 protected:
  virtual void DoDataExchange(CDataExchange*) {}
  // Binds the controls; TRUE lets the system put the focus on the first control.
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // The handlers of WM_COMMAND, WM_SYSCOMMAND, WM_PAINT and WM_QUERYDRAGICON. Each returns
  // whether it handled the message; what it leaves goes to the system's default handling.
  virtual bool OnCommand(UINT id, UINT code);
  virtual bool OnSysCommand(UINT, LPARAM) { return false; }
  virtual bool OnPaint() { return false; }
  virtual HICON OnQueryDragIcon() { return nullptr; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND parent_;
  CDialog* outer_ = nullptr;  // the dialog that was running when this one started
};

}  // namespace tvx
