// The registry functions of advapi32.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  virtual LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) = 0;
  virtual LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, PHKEY result, LPDWORD disposition) = 0;
  virtual LONG RegCloseKey(HKEY key) = 0;
  virtual LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) = 0;
  virtual LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) = 0;
  virtual LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize) = 0;
  virtual LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) = 0;
  virtual LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) = 0;
  virtual LONG RegDeleteValueA(HKEY key, LPCSTR name) = 0;
};

}  // namespace tvx
