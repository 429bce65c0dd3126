// A dialog drawn in HTML from its template in the program's resources, as Windows lays it out:
// the frame and caption, each control placed by its dialog units converted to pixels with the base
// units of the template's font, its text in the dialog's language, the states of the moment
// (checked, disabled, focus, hidden), and the steps taken in it marked in order on the controls.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"
#include "DialogSteps.h"

namespace tvx::sim {

struct DialogPicture {
  const DialogTemplate* dialog = nullptr;
  int templateId = 0;
  WORD language = 0;
  std::map<int, ControlSeen> states;  // the numbered controls; the others stand as the template made them
  std::optional<int> focus;
  std::vector<DialogStep> steps;  // marked 1, 2, ... in this order
  std::string id;                 // the figure's id in the page
  std::string captionHtml;        // below the drawing
};

// The template Windows loads for this number and language; null when the resources lack it.
std::optional<DialogTemplate> programDialog(int templateId, WORD language);

// The language's tag for the page ("en", "zh-TW", "fr", "ja", "ko").
std::string languageTag(WORD language);

std::string drawDialog(const DialogPicture& picture);

}  // namespace tvx::sim
