// A run's fault plan: the platform call made to fail, and the bounds past which the run hangs
// (platform calls, virtual time, a message box that keeps coming back).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "../WinTypes.h"

namespace tvx::sim {

// A run went on past the bounds its machine sets (virtual time, platform calls): it hangs.
struct RunBoundExceeded {
  std::string what;
};

// Making one platform call of a run fail, the way Windows fails it: the calls of the run are
// counted, and the one numbered `failAt` (from 1) fails.
struct FaultPlan {
  std::size_t failAt = 0;         // 0: no call fails
  std::string failFirst;          // or the first call of this name fails (a test's way to name one)
  std::size_t calls = 0;          // the calls made so far
  std::vector<const char*> made;  // their names, in order
  std::string failedCall;         // the name of the call that was made to fail
  std::size_t maxCalls = 0;       // 0: no bound
  DWORD maxTime = 0;              // virtual milliseconds; 0: no bound
  std::size_t maxRepeats = 0;     // the same message box back this many times in a row; 0: no bound

  // Counts a platform call of the run: true when it is the one to fail. A call past maxCalls
  // throws RunBoundExceeded.
  bool count(const char* call);
};

}  // namespace tvx::sim
