// Top-level windows of other programs, message boxes and the cursor.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IWindows {
 public:
  virtual ~IWindows() = default;
  virtual HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title) = 0;
  virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = 0;
  virtual BOOL ShowWindow(HWND window, int show) = 0;
  // Repaints a window of this program at once (flags: RDW_INVALIDATE, RDW_ERASE, RDW_UPDATENOW).
  virtual BOOL RedrawWindow(HWND window, UINT flags) = 0;
  // The hourglass while a long step runs; false restores the arrow.
  virtual void ShowWaitCursor(bool waiting) = 0;
};

}  // namespace tvx
