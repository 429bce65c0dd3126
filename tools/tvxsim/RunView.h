// What the person at the machine saw and did during a run, read back from the run's happenings:
// the message boxes with their answers, each dialog with its controls as they stood when it
// ended, the programs started and whether Windows was asked to restart.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

struct MessageSeen {
  std::string text;
  std::string caption;
  std::string answer;
};

// One control of a dialog as the person sees it.
struct ControlSeen {
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
};

struct DialogSeen {
  int templateId = 0;
  std::string caption;
  std::map<int, ControlSeen> controls;  // by id, as they stood when the dialog ended
  std::string result;                   // "OK", "Cancel", ... ; empty while it never ended
  bool shown = false;                   // ended before it was shown: false
  bool checked(int id) const;
};

struct RunView {
  std::vector<MessageSeen> messages;
  std::vector<DialogSeen> dialogs;        // in the order they opened
  std::vector<std::string> started;       // command lines of the programs started
  std::vector<std::string> startsFailed;  // command lines that did not start
  bool restart = false;

  bool showed(const std::string& text) const;
  // The last dialog made from this template, or null when none opened.
  const DialogSeen* dialog(int templateId) const;
};

RunView viewOf(const std::vector<Happening>& happenings);

// The controls of a dialog as its "dialog" happening lists them: `ID "text" state...`, separated
// by ", " (only controls with an id are listed).
std::map<int, ControlSeen> parseControls(const std::string& listed);
// Applies a "control" happening's state word (checked, unchecked, disabled, enabled, hidden,
// shown) to a control.
void applyState(ControlSeen& control, const std::string& state);

}  // namespace tvx::sim
