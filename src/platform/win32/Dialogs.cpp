#include "Win32Platform.h"

namespace tvx::win32 {

namespace {
HINSTANCE module() { return ::GetModuleHandleA(nullptr); }
}  // namespace

INT_PTR Dialogs::DialogBoxParamA(int templateId, HWND parent, DLGPROC proc, LPARAM param) {
  return ::DialogBoxParamA(module(), MAKEINTRESOURCEA(templateId), parent, proc, param);
}
BOOL Dialogs::EndDialog(HWND dialog, INT_PTR result) { return ::EndDialog(dialog, result); }
HWND Dialogs::GetDlgItem(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
BOOL Dialogs::CheckDlgButton(HWND dialog, int id, UINT check) { return ::CheckDlgButton(dialog, id, check); }
UINT Dialogs::IsDlgButtonChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id); }
BOOL Dialogs::EnableWindow(HWND window, BOOL enable) { return ::EnableWindow(window, enable); }
BOOL Dialogs::IsWindowEnabled(HWND window) { return ::IsWindowEnabled(window); }
BOOL Dialogs::IsWindowVisible(HWND window) { return ::IsWindowVisible(window); }
BOOL Dialogs::IsIconic(HWND window) { return ::IsIconic(window); }
HMENU Dialogs::GetSystemMenu(HWND window, BOOL revert) { return ::GetSystemMenu(window, revert); }
BOOL Dialogs::AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  return ::AppendMenuA(menu, flags, id, text);
}
int Dialogs::LoadStringA(UINT id, LPSTR buffer, int size) { return ::LoadStringA(module(), id, buffer, size); }
HICON Dialogs::LoadIconA(int id) { return ::LoadIconA(module(), MAKEINTRESOURCEA(id)); }
BOOL Dialogs::GetClientRect(HWND window, RECT* rect) { return ::GetClientRect(window, rect); }
int Dialogs::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }
HDC Dialogs::BeginPaint(HWND window, PAINTSTRUCT* paint) { return ::BeginPaint(window, paint); }
BOOL Dialogs::EndPaint(HWND window, const PAINTSTRUCT* paint) { return ::EndPaint(window, paint); }
BOOL Dialogs::DrawIcon(HDC dc, int x, int y, HICON icon) { return ::DrawIcon(dc, x, y, icon); }

}  // namespace tvx::win32
