// The About box, reached from the main dialog's system menu.
#pragma once
#include "../framework/CDialog.h"
#include "resource.h"

namespace tvx {

class CAboutDlg : public CDialog {
 public:
  CAboutDlg(const Platform& platform, HWND parent) : CDialog(IDD_ABOUTBOX, platform, parent) {}
};

}  // namespace tvx
