// Modal dialogs made from the program's resource templates, their controls, the system menu,
// the program's strings and icons, and the painting of a minimised dialog.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Runs the dialog of template `templateId` in the language the system picks; `proc` receives
  // its messages, WM_INITDIALOG with `param`. Gives the EndDialog result, -1 when it could not run.
  virtual INT_PTR DialogBoxParamA(int templateId, HWND parent, DLGPROC proc, LPARAM param) = 0;
  virtual BOOL EndDialog(HWND dialog, INT_PTR result) = 0;
  virtual HWND GetDlgItem(HWND dialog, int id) = 0;
  virtual BOOL CheckDlgButton(HWND dialog, int id, UINT check) = 0;
  virtual UINT IsDlgButtonChecked(HWND dialog, int id) = 0;
  virtual BOOL EnableWindow(HWND window, BOOL enable) = 0;
  virtual BOOL IsWindowEnabled(HWND window) = 0;
  virtual BOOL IsWindowVisible(HWND window) = 0;
  virtual BOOL IsIconic(HWND window) = 0;
  virtual HMENU GetSystemMenu(HWND window, BOOL revert) = 0;
  virtual BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) = 0;
  virtual int LoadStringA(UINT id, LPSTR buffer, int size) = 0;
  virtual HICON LoadIconA(int id) = 0;
  virtual BOOL GetClientRect(HWND window, RECT* rect) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  virtual HDC BeginPaint(HWND window, PAINTSTRUCT* paint) = 0;
  virtual BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) = 0;
  virtual BOOL DrawIcon(HDC dc, int x, int y, HICON icon) = 0;
};

}  // namespace tvx
