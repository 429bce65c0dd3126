// Ending the program's own process.
#pragma once
#include <cstdlib>

#include "WinTypes.h"

namespace tvx {

class IProcessExit {
 public:
  virtual ~IProcessExit() = default;
  // Ends the process with the C runtime's exit: static destructors run, nothing after the call does.
  [[noreturn]] void Exit(int code) {
    exitProcess(code);
    std::abort();  // exitProcess never comes back
  }

 protected:
  virtual void exitProcess(int code) = 0;
};

}  // namespace tvx
