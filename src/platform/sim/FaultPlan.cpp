#include "FaultPlan.h"

namespace tvx::sim {

bool FaultPlan::count(const char* call) {
  ++calls;
  made.push_back(call);
  if (maxCalls != 0 && calls > maxCalls) {
    throw RunBoundExceeded{"more than " + std::to_string(maxCalls) + " platform calls"};
  }
  const bool named = !failFirst.empty() && failedCall.empty() && failFirst == call;
  if (calls != failAt && !named) return false;
  failedCall = call;
  return true;
}

}  // namespace tvx::sim
