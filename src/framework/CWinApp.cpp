#include "CWinApp.h"

#include "CommandLine.h"

namespace tvx {

int CWinApp::Run() {
  const SplitCommandLine split = splitCommandLine(platform_.system.GetCommandLineA());
  m_programPath = split.programPath;
  m_lpCmdLine = split.tail;
  InitInstance();
  m_pMainWnd = nullptr;
  return 0;
}

}  // namespace tvx
