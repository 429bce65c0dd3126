// The private profile (INI file) functions.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IProfiles {
 public:
  virtual ~IProfiles() = default;
  virtual DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                         LPCSTR file) = 0;
  virtual UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) = 0;
  virtual BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) = 0;
};

}  // namespace tvx
