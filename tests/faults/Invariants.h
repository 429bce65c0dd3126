// What must hold after a run in which one platform call failed, against the same run without
// the failure: nothing changed that the run does not change, Windows' own INF files whole, the
// other programs of WIN.INI's run entry kept, no INF in the INF folders left half written.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "src/platform/sim/Machine.h"

namespace tvx::faults {

// The state of a machine that the checks compare.
struct Snapshot {
  sim::FileTree files;
  sim::RegistryTree registry;
};

Snapshot snapshotOf(const sim::Machine& machine);

// Every content each INF file of the INF folders had during a run, by its path in upper case.
class InfVersions {
 public:
  void record(const sim::Machine& machine);
  const std::set<std::string>* of(const std::string& upperPath) const;

 private:
  std::map<std::string, std::set<std::string>> versions_;
};

// What the run without a failure did.
struct Baseline {
  Snapshot before;
  Snapshot after;
  InfVersions infVersions;
  std::set<std::string> changed;  // the files and registry entries it changed
};

std::set<std::string> changesBetween(const Snapshot& before, const Snapshot& after);

// The broken invariants of a run (empty when all hold).
std::vector<std::string> checkRun(const Baseline& baseline, const sim::Machine& machine, const std::string& windowsDir);

}  // namespace tvx::faults
