// Stand-in for what Windows and the device installer do after the setup re-enumerates the
// device tree, started by the winmm.dll stand-in at that moment: it carries out the
// "reenumeration + T" events of C:\peers\machine.ini at their times after its start (open=Title|Class
// opens a top-level window, close=Title-or-Class closes one, import=file.reg imports
// C:\peers\file.reg, traybit=on sets bit value 4 of the tray's "Services"; mixers= is the winmm
// stand-in's) and ends when they are done and its windows are closed.
#include <windows.h>

#include "MachineEvents.h"
#include "PeerLog.h"

namespace {

peers::Event g_events[peers::kMaxEvents];
int g_eventCount = 0;
DWORD g_start = 0;
int g_openWindows = 0;
HINSTANCE g_instance = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof(title));
    peerLog("World|closed|%s|%lu", title, GetTickCount() - g_start);
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    --g_openWindows;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void open(char* arg) {
  char* bar = std::strchr(arg, '|');
  const char* cls = "TvxWorldWindow";
  if (bar != nullptr) {
    *bar = '\0';
    cls = peers::trimmed(bar + 1);
  }
  const char* title = peers::trimmed(arg);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(g_instance, cls, &wc)) {
    wc.lpfnWndProc = windowProc;
    wc.hInstance = g_instance;
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
  }
  // A popup without a caption: Wine leaves it to no window manager, so closing it does not wait
  // for one (Xvfb has none, and Wine would wait two seconds for it to withdraw the window).
  // Shown without taking the activation.
  HWND window =
      CreateWindowA(cls, title, WS_POPUP | WS_BORDER, 40, 40, 320, 160, nullptr, nullptr, g_instance, nullptr);
  if (window != nullptr) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    ++g_openWindows;
    peerLog("World|opened|%s|%s|%lu", title, cls, GetTickCount() - g_start);
  }
}

void close(const char* titleOrClass) {
  HWND window = FindWindowA(nullptr, titleOrClass);
  if (window == nullptr) window = FindWindowA(titleOrClass, nullptr);
  if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
}

void import(const char* file) {
  char commandLine[MAX_PATH + 32];
  wsprintfA(commandLine, "regedit.exe /s C:\\peers\\%s", file);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  peerLog("World|imported|%s|%lu", file, GetTickCount() - g_start);
}

// Bit value 4 of HKCU\...\Applets\Systray "Services": the tray's volume icon; the other bits stay.
void setTrayBit() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray", 0, nullptr,
                      0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD value = 0;
  DWORD type = REG_DWORD;
  DWORD size = sizeof(value);
  if (RegQueryValueExA(key, "Services", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
    value = 0;
    type = REG_DWORD;
  }
  value |= 4;
  RegSetValueExA(key, "Services", 0, type, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
  peerLog("World|tray bit|%lu|%lu", value, GetTickCount() - g_start);
}

// Carries out the events that are due; true while some are left.
bool runDueEvents() {
  const DWORD now = GetTickCount() - g_start;
  bool left = false;
  for (int i = 0; i < g_eventCount; ++i) {
    peers::Event& e = g_events[i];
    if (e.done) continue;
    if (e.at > now) {
      left = true;
      continue;
    }
    e.done = true;
    if (lstrcmpiA(e.verb, "open") == 0) {
      open(e.arg);
    } else if (lstrcmpiA(e.verb, "close") == 0) {
      close(e.arg);
    } else if (lstrcmpiA(e.verb, "import") == 0) {
      import(e.arg);
    } else if (lstrcmpiA(e.verb, "traybit") == 0) {
      setTrayBit();
    }
  }
  return left;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  g_instance = instance;
  g_start = GetTickCount();
  peers::Event all[peers::kMaxEvents];
  const int n = peers::readEvents(all);
  for (int i = 0; i < n; ++i) {
    if (all[i].afterReenumeration && lstrcmpiA(all[i].verb, "mixers") != 0) g_events[g_eventCount++] = all[i];
  }
  peerLog("World|start|%d events", g_eventCount);
  SetTimer(nullptr, 0, 50, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (msg.message == WM_TIMER && !runDueEvents() && g_openWindows <= 0) break;
  }
  peerLog("World|end|%lu", GetTickCount() - g_start);
  return 0;
}
