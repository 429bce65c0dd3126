#include <string>

#include "../core/Scoped.h"
#include "ApplicationSuite.h"

namespace tvx {

namespace {

const char* const kUninstallKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvic Sound Suite",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvic Sound WinNT Suite"};
constexpr DWORD kCommandBuffer = 260;

STARTUPINFOA shownWindowStartup() {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  return startup;
}

// Starts a command line; the handles are closed unless the caller takes the process handle.
bool start(const Platform& platform, std::string commandLine, HANDLE* process) {
  STARTUPINFOA startup = shownWindowStartup();
  PROCESS_INFORMATION info{};
  if (!platform.processes.CreateProcessA(nullptr, &commandLine[0], &startup, &info)) return false;
  platform.processes.CloseHandle(info.hThread);
  if (process != nullptr) {
    *process = info.hProcess;
  } else {
    platform.processes.CloseHandle(info.hProcess);
  }
  return true;
}

bool readString(IRegistry& reg, HKEY key, const char* name, std::string& out) {
  char buffer[kCommandBuffer + 1] = {};
  DWORD size = kCommandBuffer;
  if (reg.RegQueryValueExA(key, name, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) return false;
  out = buffer;
  return true;
}

}  // namespace

void CloseSuiteWindows(const Platform& platform) {
  IWindows& windows = platform.windows;
  if (HWND console = windows.FindWindowExA(nullptr, nullptr, nullptr, "SoundDeck")) {
    windows.SendMessageA(console, WM_CLOSE, 0, 0);
    platform.time.Sleep(500);
    return;
  }
  for (const char* player : {"CD Player", "MIDI Player", "MP3 Player"}) {
    if (HWND window = windows.FindWindowExA(nullptr, nullptr, nullptr, player)) {
      windows.SendMessageA(window, WM_CLOSE, 0, 0);
    }
  }
}

void RemovePreviousSuite(const Platform& platform) {
  IRegistry& reg = platform.registry;
  ScopedKey key(reg);
  for (const char* path : kUninstallKeys) {
    if (key.open(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE) == ERROR_SUCCESS) break;
  }
  if (!key.isOpen()) return;
  std::string command;
  if (!readString(reg, key.get(), "InstallShieldUninstallString", command) &&
      !readString(reg, key.get(), "UninstallString", command)) {
    return;
  }
  // The uninstall entry is a command line already: it runs as read, with " -a" for a silent removal.
  command += " -a";
  platform.windows.ShowWaitCursor(true);
  HANDLE process = nullptr;
  if (start(platform, command, &process)) {
    // The wait is on the process itself, a second at a time, until it has ended: its exit code
    // may be anything, STILL_ACTIVE included.
    while (platform.processes.WaitForSingleObject(process, 1000) == WAIT_TIMEOUT) {
    }
    platform.processes.CloseHandle(process);
  }
  platform.windows.ShowWaitCursor(false);
}

bool LaunchSuiteSetup(const Platform& platform, const std::string& setupPath) {
  // Quoted when it holds a blank: unquoted, "E:\Driver.exe" would be tried first.
  return start(platform, setupPath.find(' ') != std::string::npos ? "\"" + setupPath + "\"" : setupPath, nullptr);
}

}  // namespace tvx
