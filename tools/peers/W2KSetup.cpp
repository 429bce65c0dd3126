// Stand-in for the separate Windows 2000/XP installer: writes down the command line it was
// started with and ends.
#include "PeerLog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  peerLog("W2KSetup|%s|%s", module, GetCommandLineA());
  return 0;
}
