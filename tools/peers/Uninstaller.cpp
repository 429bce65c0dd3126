// Stand-in for the earlier suite's uninstaller: writes down its command line when it starts,
// runs for about a second, writes down when it ends, and exits with code 0.
#include "PeerLog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  peerLog("Uninstall start|%s|%lu", GetCommandLineA(), GetTickCount());
  Sleep(1000);
  peerLog("Uninstall end|%lu", GetTickCount());
  return 0;
}
