// Waiting and the clock.
#pragma once
#include "WinTypes.h"

namespace tvx {

class ITime {
 public:
  virtual ~ITime() = default;
  virtual void Sleep(DWORD milliseconds) = 0;
  virtual DWORD SleepEx(DWORD milliseconds, BOOL alertable) = 0;
  virtual DWORD GetTickCount() = 0;
};

}  // namespace tvx
