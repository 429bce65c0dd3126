#include "Win32Platform.h"

namespace tvx::win32 {

BOOL SystemInfo::GetVersionExA(OSVERSIONINFOA* info) { return ::GetVersionExA(info); }
UINT SystemInfo::GetWindowsDirectoryA(LPSTR buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); }
UINT SystemInfo::GetSystemDirectoryA(LPSTR buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); }
DWORD SystemInfo::GetModuleFileNameA(LPSTR buffer, DWORD size) { return ::GetModuleFileNameA(nullptr, buffer, size); }
LPCSTR SystemInfo::GetCommandLineA() { return ::GetCommandLineA(); }
DWORD SystemInfo::GetLastError() { return ::GetLastError(); }
void SystemInfo::SetLastError(DWORD code) { ::SetLastError(code); }

}  // namespace tvx::win32
