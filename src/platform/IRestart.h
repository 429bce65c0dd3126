// Asking Windows to restart.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IRestart {
 public:
  virtual ~IRestart() = default;
  virtual BOOL ExitWindowsEx(UINT flags, DWORD reason) = 0;
};

}  // namespace tvx
