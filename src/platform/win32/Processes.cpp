#include "Win32Platform.h"

namespace tvx::win32 {

UINT Processes::WinExec(LPCSTR commandLine, UINT show) { return ::WinExec(commandLine, show); }
BOOL Processes::CreateProcessA(LPCSTR application, LPSTR commandLine, STARTUPINFOA* startup,
                               PROCESS_INFORMATION* info) {
  return ::CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, startup, info);
}
DWORD Processes::WaitForInputIdle(HANDLE process, DWORD milliseconds) {
  return ::WaitForInputIdle(process, milliseconds);
}
DWORD Processes::WaitForSingleObject(HANDLE process, DWORD milliseconds) {
  return ::WaitForSingleObject(process, milliseconds);
}
BOOL Processes::GetExitCodeProcess(HANDLE process, LPDWORD exitCode) { return ::GetExitCodeProcess(process, exitCode); }
BOOL Processes::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

}  // namespace tvx::win32
