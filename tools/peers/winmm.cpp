// Stand-in for winmm.dll beside Setup.exe under Wine (WINEDLLOVERRIDES=winmm=n,b), where no
// mixer device ever appears: mixerGetNumDevs answers the count that the machine's [Machine]
// mixers= and its "mixers=N" events give at each moment. Wine cannot re-enumerate the device
// tree; the setup reads the count right after it does, so the first call is taken as the moment
// of the re-enumeration, and it starts C:\peers\World.exe, which carries out the other events.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "MachineEvents.h"
#include "PeerLog.h"

namespace {

DWORD g_loadedAt = 0;
DWORD g_reenumeratedAt = 0;
bool g_called = false;

void startWorld() {
  // Only the first process that asks starts the world, whatever loads this DLL.
  HANDLE started = CreateMutexA(nullptr, FALSE, "TvxPeersWorldStarted");
  if (started == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return;
  char commandLine[] = "C:\\peers\\World.exe";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, "C:\\peers", &startup, &info)) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  peerLog("winmm|re-enumeration|%lu", GetTickCount());
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_loadedAt = GetTickCount();
  return TRUE;
}

extern "C" __declspec(dllexport) UINT WINAPI mixerGetNumDevs() {
  const DWORD now = GetTickCount();
  if (!g_called) {
    g_called = true;
    g_reenumeratedAt = now;
    startWorld();
  }
  UINT count = GetPrivateProfileIntA("Machine", "mixers", 0, peers::kMachineIni);
  static peers::Event events[peers::kMaxEvents];
  const int n = peers::readEvents(events);
  // The latest due "mixers" event gives the count.
  DWORD latest = 0;
  bool any = false;
  for (int i = 0; i < n; ++i) {
    const peers::Event& e = events[i];
    if (lstrcmpiA(e.verb, "mixers") != 0) continue;
    const DWORD since = now - (e.afterReenumeration ? g_reenumeratedAt : g_loadedAt);
    if (since < e.at) continue;
    const DWORD due = (e.afterReenumeration ? g_reenumeratedAt : g_loadedAt) + e.at;
    if (!any || due - g_loadedAt >= latest) {
      latest = due - g_loadedAt;
      count = static_cast<UINT>(std::strtoul(e.arg, nullptr, 10));
      any = true;
    }
  }
  return count;
}
