// What happened during a run, as lines for people: one line per happening, with the sleeps of a
// polling loop taken together as one wait.
#pragma once
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

std::string seconds(DWORD ms);

// One line of the timeline and the happening it tells of (a wait: its first sleep).
struct TimelineLine {
  std::size_t happening;
  std::string text;
};
std::vector<TimelineLine> timeline(const std::vector<Happening>& happenings);
// Lines "[12.500 s] ...", in time order.
std::vector<std::string> timelineLines(const std::vector<Happening>& happenings);

}  // namespace tvx::sim
