// What must hold after a run in which one platform call failed, against the same run without
// the failure: nothing changed that the run does not change, Windows' own INF files whole, the
// other programs of WIN.INI's run entry kept, no INF in the INF folders left half written.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "src/platform/sim/Simulator.h"

namespace tvx::faults {

// The state of a machine that the checks compare.
struct Snapshot {
  sim::FileTree files;
  sim::RegistryTree registry;
};

Snapshot snapshotOf(const sim::Machine& machine);

// One change between two states: a file, registry key or value, whether it is new, and the
// folder or key it is in.
struct ChangeSeen {
  bool created = false;
  std::string place;
};
using Changes = std::map<std::string, ChangeSeen>;

// What the run without a failure did.
struct Baseline {
  Snapshot before;
  Snapshot after;
  Changes changed;
  std::set<std::string> placesCreatedIn;  // folders and keys it created something in
};

Changes changesBetween(const Snapshot& before, const Snapshot& after);
void describeBaseline(Baseline& baseline);

// The broken invariants of a run (empty when all hold).
std::vector<std::string> checkRun(const Baseline& baseline, const sim::Machine& machine, const std::string& windowsDir);

}  // namespace tvx::faults
