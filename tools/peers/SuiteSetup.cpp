// Stand-in for the application suite's installer (the Setup.exe of an "app" folder): writes
// down where it was started from, its command line, its current directory and the time.
#include "PeerLog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char module[MAX_PATH] = {};
  char current[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, current);
  peerLog("SuiteSetup|%s|%s|%s|%lu", module, GetCommandLineA(), current, GetTickCount());
  return 0;
}
