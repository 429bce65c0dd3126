#include <cstring>

#include "SimPlatform.h"

namespace tvx::sim {

namespace {
UINT copyPath(const std::string& text, LPSTR buffer, UINT size) {
  if (buffer == nullptr || size <= text.size()) return static_cast<UINT>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<UINT>(text.size());
}
}  // namespace

BOOL SystemInfo::GetVersionExA(OSVERSIONINFOA* info) {
  if (m_.injectFault("GetVersionExA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  if (m_.versionQueryFails || info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  info->dwMajorVersion = m_.os.major;
  info->dwMinorVersion = m_.os.minor;
  info->dwBuildNumber = m_.os.build;
  info->dwPlatformId = m_.os.platformId;
  std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
  std::strncpy(info->szCSDVersion, m_.os.servicePack.c_str(), sizeof(info->szCSDVersion) - 1);
  return TRUE;
}

UINT SystemInfo::GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  return m_.injectFault("GetWindowsDirectoryA") ? 0 : copyPath(m_.windowsDir, buffer, size);
}
UINT SystemInfo::GetSystemDirectoryA(LPSTR buffer, UINT size) {
  return m_.injectFault("GetSystemDirectoryA") ? 0 : copyPath(m_.systemDir, buffer, size);
}

DWORD SystemInfo::GetModuleFileNameA(LPSTR buffer, DWORD size) {
  if (m_.injectFault("GetModuleFileNameA")) return 0;
  if (size == 0) return 0;
  DWORD n = std::min<DWORD>(static_cast<DWORD>(m_.modulePath.size()), size - 1);
  std::memcpy(buffer, m_.modulePath.data(), n);
  buffer[n] = '\0';
  return n;
}

LPCSTR SystemInfo::GetCommandLineA() { return m_.commandLine.c_str(); }
DWORD SystemInfo::GetLastError() { return m_.lastError; }
void SystemInfo::SetLastError(DWORD code) { m_.lastError = code; }

}  // namespace tvx::sim
