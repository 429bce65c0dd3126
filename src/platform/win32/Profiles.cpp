#include "Win32Platform.h"

namespace tvx::win32 {

DWORD Profiles::GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                         LPCSTR file) {
  return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}
UINT Profiles::GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) {
  return ::GetPrivateProfileIntA(section, key, defaultValue, file);
}
BOOL Profiles::WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  return ::WritePrivateProfileStringA(section, key, value, file);
}

}  // namespace tvx::win32
