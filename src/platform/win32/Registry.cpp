#include "Win32Platform.h"

namespace tvx::win32 {

LONG Registry::RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return ::RegOpenKeyExA(key, subKey, options, access, result);
}
LONG Registry::RegCreateKeyExA(HKEY key, LPCSTR subKey, PHKEY result, LPDWORD disposition) {
  return ::RegCreateKeyExA(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result,
                           disposition);
}
LONG Registry::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }
LONG Registry::RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) {
  return ::RegQueryValueExA(key, name, nullptr, type, data, size);
}
LONG Registry::RegSetValueExA(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
  return ::RegSetValueExA(key, name, 0, type, data, size);
}
LONG Registry::RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize) {
  return ::RegEnumKeyExA(key, index, name, nameSize, nullptr, nullptr, nullptr, nullptr);
}
LONG Registry::RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) {
  return ::RegEnumValueA(key, index, name, nameSize, nullptr, type, data, dataSize);
}
LONG Registry::RegDeleteKeyA(HKEY key, LPCSTR subKey) { return ::RegDeleteKeyA(key, subKey); }
LONG Registry::RegDeleteValueA(HKEY key, LPCSTR name) { return ::RegDeleteValueA(key, name); }

}  // namespace tvx::win32
