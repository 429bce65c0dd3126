// The application class of the program's small dialog framework.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

class CDialog;

class CWinApp {
 public:
  explicit CWinApp(const Platform& platform) : platform_(platform) {}
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Splits the command line, runs InitInstance and gives the process exit code. The program
  // runs no message loop of its own: InitInstance shows at most one modal dialog.
  int Run();
  virtual BOOL InitInstance() { return FALSE; }

  // Dialogs take the three-dimensional look of the system; nothing to do on 32-bit Windows.
  void Enable3dControls() {}

  CDialog* m_pMainWnd = nullptr;
  std::string m_lpCmdLine;    // the tail after the program name, leading blanks removed
  std::string m_programPath;  // the program as it was started

 protected:
  const Platform& platform() const { return platform_; }

 private:
  Platform platform_;
};

}  // namespace tvx
