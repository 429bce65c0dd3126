// A window of the program's own, seen through its handle: the base of CDialog and of the
// controls that a dialog binds to its members.
#pragma once
#include "../platform/Platform.h"

namespace tvx {

inline WORD loWord(WPARAM value) { return static_cast<WORD>(value & 0xFFFF); }
inline WORD hiWord(WPARAM value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Binds this object to a window of a running dialog.
  void Attach(HWND window, const Platform& platform) {
    m_hWnd = window;
    platform_ = &platform;
  }

  BOOL ShowWindow(int show) { return platform_->windows.ShowWindow(m_hWnd, show); }
  BOOL EnableWindow(BOOL enable) { return platform_->dialogs.EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return platform_->dialogs.IsWindowEnabled(m_hWnd); }
  BOOL IsWindowVisible() const { return platform_->dialogs.IsWindowVisible(m_hWnd); }
  BOOL RedrawWindow(UINT flags) { return platform_->windows.RedrawWindow(m_hWnd, flags); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return platform_->windows.SendMessageA(m_hWnd, message, wParam, lParam);
  }

  HWND m_hWnd = nullptr;

 protected:
  const Platform* platform_ = nullptr;
};

// A push button, check box or radio button.
class CButton : public CWnd {
 public:
  void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
  int GetCheck() { return static_cast<int>(SendMessage(BM_GETCHECK)); }
};

}  // namespace tvx
