// The fault sweep: runs Setup.exe's logic on each machine folder once per platform call of the
// run, failing that call alone, and checks after each run that nothing was lost.
//
//   fault_sweep [--every N] [--verbose] MACHINE...
//   fault_sweep --calls MACHINE...      the platform calls of each run without failures, in order
//
// With --every N only every N-th call is failed (the short sweep of the test command). Ends with
// the line "N runs, M failures injected, K invariant breaks"; the exit status is 1 when K > 0.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "Invariants.h"
#include "src/platform/sim/Simulator.h"
#include "tools/tvxsim/SimRun.h"

namespace {

using tvx::sim::Machine;

struct Totals {
  std::size_t runs = 0;
  std::size_t injected = 0;
  std::size_t breaks = 0;
};

// Runs Setup.exe on the machine; the message of a hang or of an escaped exception, else empty.
// The run's outcome goes to `outcome`.
std::string run(Machine& machine, std::optional<tvx::sim::Outcome>& outcome) {
  try {
    outcome = tvx::sim::runSetup(machine, "sweep").outcome;
  } catch (const tvx::sim::RunBoundExceeded& e) {
    return "the run hangs: " + e.what;
  } catch (const std::exception& e) {
    return std::string("the run threw ") + e.what();
  }
  return {};
}

bool sweep(const char* folder, std::size_t every, bool verbose, Totals& totals) {
  tvx::faults::Baseline baseline;
  std::size_t calls = 0;
  DWORD time = 0;
  {
    Machine machine;
    if (!tvx::sim::loadMachineOrReport(machine, folder, "fault_sweep")) return false;
    baseline.before = tvx::faults::snapshotOf(machine);
    std::optional<tvx::sim::Outcome> outcome;
    const std::string problem = run(machine, outcome);
    ++totals.runs;
    if (!problem.empty() || (outcome && outcome->verdict == tvx::sim::Outcome::Verdict::Incomplete)) {
      std::printf("%s: the run without failures: %s\n", folder,
                  problem.empty() ? outcome->text().c_str() : problem.c_str());
      ++totals.breaks;
      return true;
    }
    baseline.after = tvx::faults::snapshotOf(machine);
    tvx::faults::describeBaseline(baseline);
    calls = machine.faults.calls;
    time = machine.now;
  }
  std::size_t breaks = 0;
  for (std::size_t n = 1; n <= calls; n += every) {
    Machine machine;
    tvx::sim::loadMachineOrReport(machine, folder, "fault_sweep");
    machine.faults.failAt = n;
    machine.faults.maxCalls = calls * 20 + 1000;
    machine.faults.maxTime = std::max<DWORD>(time * 4, 3600000);
    std::vector<std::string> broken;
    std::optional<tvx::sim::Outcome> outcome;
    const std::string problem = run(machine, outcome);
    if (!problem.empty()) broken.push_back(problem);
    if (problem.empty()) broken = tvx::faults::checkRun(baseline, machine, machine.windowsDir);
    // What the person was told is true: a completion means the machine holds the installation; a
    // run that stopped told the person so or left the machine as it was.
    if (outcome && outcome->verdict == tvx::sim::Outcome::Verdict::Incomplete) broken.push_back(outcome->text());
    ++totals.runs;
    if (!machine.faults.failedCall.empty()) ++totals.injected;
    for (const auto& b : broken) {
      std::printf("%s: call %zu (%s) failed: %s\n", folder, n, machine.faults.failedCall.c_str(), b.c_str());
    }
    breaks += broken.empty() ? 0 : 1;
  }
  totals.breaks += breaks;
  if (verbose) std::printf("%s: %zu calls, %zu runs with a break\n", folder, calls, breaks);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t every = 1;
  bool verbose = false;
  bool listCalls = false;
  std::vector<const char*> machines;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--every") == 0 && i + 1 < argc) {
      every = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--verbose") == 0) {
      verbose = true;
    } else if (std::strcmp(argv[i], "--calls") == 0) {
      listCalls = true;
    } else {
      machines.push_back(argv[i]);
    }
  }
  if (machines.empty()) {
    std::fprintf(stderr, "usage: fault_sweep [--every N] [--verbose] MACHINE...\n");
    return 2;
  }
  if (listCalls) {
    for (const char* folder : machines) {
      Machine machine;
      if (!tvx::sim::loadMachineOrReport(machine, folder, "fault_sweep")) return 2;
      std::optional<tvx::sim::Outcome> outcome;
      const std::string problem = run(machine, outcome);
      std::printf("%s:%s\n", folder, problem.empty() ? "" : (" " + problem).c_str());
      for (const char* call : machine.faults.made) std::printf("  %s\n", call);
    }
    return 0;
  }
  Totals totals;
  for (const char* folder : machines) {
    if (!sweep(folder, every, verbose, totals)) return 2;
  }
  std::printf("%zu runs, %zu failures injected, %zu invariant breaks\n", totals.runs, totals.injected, totals.breaks);
  return totals.breaks == 0 ? 0 : 1;
}
