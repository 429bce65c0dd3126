// What the program learns about the running system and itself, and the thread's last error.
#pragma once
#include "WinTypes.h"

namespace tvx {

class ISystemInfo {
 public:
  virtual ~ISystemInfo() = default;
  virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
  virtual UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) = 0;
  virtual UINT GetSystemDirectoryA(LPSTR buffer, UINT size) = 0;
  virtual DWORD GetModuleFileNameA(LPSTR buffer, DWORD size) = 0;
  // The command line as the process received it, program name included.
  virtual LPCSTR GetCommandLineA() = 0;
  virtual DWORD GetLastError() = 0;
  virtual void SetLastError(DWORD code) = 0;
};

}  // namespace tvx
