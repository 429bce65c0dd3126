// The report of a run as an HTML page: the same report the text and JSON give (the happenings,
// the changes, the outcome), with each dialog drawn from its template as the person saw it and
// each message box drawn with its answer.
#pragma once
#include <string>

#include "Report.h"

namespace tvx::sim {

struct RunPageOptions {
  std::string heading;             // the page's heading; the machine's name when empty
  std::string backLink;            // a page to go back to (the matrix), or empty
  std::optional<SignOff> signOff;  // the row's sign-off in a matrix, where it is not the run's own
};

std::string htmlRunPage(const RunReport& report, const RunPageOptions& options = {});

// The class of a verdict word in the pages: "complete", "incomplete", "nothing-installed",
// "failed", "crashed", "hung".
std::string verdictClass(const std::string& verdict);

}  // namespace tvx::sim
