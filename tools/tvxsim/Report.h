// The report of a simulated run, as text for people and as JSON for scripts.
#pragma once
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"
#include "Diff.h"
#include "Outcome.h"
#include "SignOff.h"

namespace tvx::sim {

struct RunReport {
  std::string machineName;
  std::string os;
  std::string commandLine;
  std::vector<Happening> happenings;
  std::vector<Change> files;
  std::vector<Change> registry;
  bool restart = false;
  std::optional<int> exitCode;
  DWORD virtualTime = 0;
  std::vector<std::string> leaks;          // handles the program left open
  std::vector<std::string> sourcesBefore;  // the installation source list before and after the run
  std::vector<std::string> sourcesAfter;
  std::optional<Outcome> outcome;  // a run's verdict (a Windows start has none)
  std::string problem;             // "crashed: ..." or "hung: ...": the run did not end
  std::optional<SignOff> signOff;  // does this path serve the person (a Windows start has none)
};

std::string reportText(const RunReport& report);
// The lines of one change as the text report gives them: for a file, the change and then its INI
// entries or its lines removed and added, each indented by four.
std::vector<std::string> fileChangeLines(const Change& change);
std::string registryChangeLine(const Change& change);
// A text as a JSON string, quoted and escaped.
std::string jsonString(const std::string& text);
std::string reportJson(const RunReport& report);

}  // namespace tvx::sim
