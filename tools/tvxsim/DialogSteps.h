// Each dialog of a run as the person met it, read back from the run's happenings: how its numbered
// controls stood when it appeared, each step taken in it in order with what the step changed, and
// how it ended.
#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"
#include "RunView.h"

namespace tvx::sim {

struct DialogStep {
  std::size_t happening = 0;          // the "dialog action" that took it
  std::string action;                 // "click 1004 \"Virtual-Device (VxD)\"", "key Return", ...
  std::optional<int> control;         // the control clicked
  std::vector<std::string> effects;   // what followed in the dialog: states changed, nothing happened
  std::vector<std::size_t> followed;  // the happenings of those effects
};

struct DialogEpisode {
  std::size_t shownAt = 0;  // its "dialog" happening
  std::optional<std::size_t> endedAt;
  int templateId = 0;
  WORD language = 0;
  std::string caption;
  std::map<int, ControlSeen> shown;  // the numbered controls as it appeared
  std::optional<int> focus;          // the control with the focus as it appeared
  std::vector<DialogStep> steps;
  std::map<int, ControlSeen> ended;  // as they stood when it ended
  std::string result;                // "OK", "Cancel", ...; empty when the run stopped in it
  bool changed() const;              // a control's state differs at the end from the start
};

// The dialogs that appeared, in the order they appeared (one that ended before it was shown is
// not among them: the person never saw it).
std::vector<DialogEpisode> dialogEpisodes(const std::vector<Happening>& happenings);

}  // namespace tvx::sim
