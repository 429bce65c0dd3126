// Starting other programs and waiting for them.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  virtual UINT WinExec(LPCSTR commandLine, UINT show) = 0;
  virtual BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, STARTUPINFOA* startup,
                              PROCESS_INFORMATION* info) = 0;
  virtual DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) = 0;
  // WAIT_OBJECT_0 once the process has ended, WAIT_TIMEOUT when it still runs after the time.
  virtual DWORD WaitForSingleObject(HANDLE process, DWORD milliseconds) = 0;
  virtual BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
};

}  // namespace tvx
