// A message box drawn in HTML as Windows shows it: caption, text and buttons, the person's answer
// marked.
#pragma once
#include <string>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

// `message` is a "message" happening.
std::string drawMessageBox(const Happening& message, const std::string& id);

}  // namespace tvx::sim
