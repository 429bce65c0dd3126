#include "Win32Platform.h"

namespace tvx::win32 {

HWND Windows::FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title) {
  return ::FindWindowExA(parent, childAfter, className, title);
}
LRESULT Windows::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(window, message, wParam, lParam);
}
int Windows::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return ::MessageBoxA(owner, text, caption, type);
}
BOOL Windows::ShowWindow(HWND window, int show) { return ::ShowWindow(window, show); }
BOOL Windows::RedrawWindow(HWND window, UINT flags) { return ::RedrawWindow(window, nullptr, nullptr, flags); }
void Windows::ShowWaitCursor(bool waiting) {
  if (waiting) {
    previous_ = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  } else {
    ::SetCursor(previous_ != nullptr ? previous_ : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  }
}

}  // namespace tvx::win32
