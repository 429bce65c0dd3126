// The fault sweep: runs Setup.exe's logic on each machine folder once per platform call of the
// run, failing that call alone, and checks after each run that nothing was lost. Its second kind
// (--cd-out) takes the CD out for good right after one of the run's file copies, once per copy,
// in every run that reads the CD: a failure that lasts, where the first kind's ends with its call.
//
//   fault_sweep [--every N] [--cd-out] [--verbose] MACHINE...
//   fault_sweep --calls MACHINE...      the platform calls of each run without failures, in order
//
// With --every N only every N-th call (or copy) is taken (the short sweep of the test command).
// Ends with the line "N runs, M failures injected, K invariant breaks" (with --cd-out "N runs,
// M with the CD taken out, K invariant breaks"); the exit status is 1 when K > 0.
#include <algorithm>
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

// What each run of a sweep does to the machine: one platform call fails, or the CD is taken out
// after one copy and never put back.
enum class Kind { FailingCall, CdOut };

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

// Whether the run read the CD: a copy from its drive.
bool readsCd(const Machine& machine) {
  const std::string drive = std::string(1, machine.cdDrive) + ":";
  for (const auto& h : machine.log) {
    if (h.kind == "copy" && tvx::sim::startsWithI(h.field("from"), drive)) return true;
  }
  return false;
}

// The CD taken out of its drive right after the run's copy number `copy`, and put back never: the
// machine's own events that put it back are dropped. The person, who has no CD to put back, gives
// up when a box asks for it.
void takeOutCdAfter(Machine& machine, std::size_t copy) {
  const auto putsBack = [](const tvx::sim::TimedEvent& e) { return tvx::sim::startsWithI(e.description, "insert"); };
  auto& events = machine.events;
  events.erase(std::remove_if(events.begin(), events.end(), putsBack), events.end());
  auto& later = machine.afterReenumeration;
  later.erase(std::remove_if(later.begin(), later.end(), putsBack), later.end());
  for (auto it = machine.afterCopies.begin(); it != machine.afterCopies.end();) {
    it = putsBack(it->second) ? machine.afterCopies.erase(it) : std::next(it);
  }
  Machine* m = &machine;
  const char drive = machine.cdDrive;
  const std::string what = std::string("eject=") + drive;
  machine.afterCopies.emplace(copy,
                              tvx::sim::TimedEvent{0, what, [m, drive] { m->drivesWithoutMedium.insert(drive); }});
  machine.cancelsUnscriptedPrompts = true;
}

bool sweep(const char* folder, Kind kind, std::size_t every, bool verbose, Totals& totals) {
  tvx::faults::Baseline baseline;
  std::size_t calls = 0;
  DWORD time = 0;
  std::size_t runsToMake = 0;
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
    runsToMake = calls;
    // The CD-out kind: one run per copy of a run that reads the CD.
    if (kind == Kind::CdOut) runsToMake = readsCd(machine) ? machine.copies : 0;
  }
  std::size_t breaks = 0;
  for (std::size_t n = 1; n <= runsToMake; n += every) {
    Machine machine;
    tvx::sim::loadMachineOrReport(machine, folder, "fault_sweep");
    if (kind == Kind::FailingCall) {
      machine.faults.failAt = n;
    } else {
      takeOutCdAfter(machine, n);
    }
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
    const bool cdOut = kind == Kind::CdOut && machine.afterCopies.count(n) == 0;
    if (!machine.faults.failedCall.empty() || cdOut) ++totals.injected;
    for (const auto& b : broken) {
      if (kind == Kind::FailingCall) {
        std::printf("%s: call %zu (%s) failed: %s\n", folder, n, machine.faults.failedCall.c_str(), b.c_str());
      } else {
        std::printf("%s: the CD taken out after copy %zu: %s\n", folder, n, b.c_str());
      }
    }
    breaks += broken.empty() ? 0 : 1;
  }
  totals.breaks += breaks;
  if (verbose) {
    std::printf("%s: %zu %s, %zu runs with a break\n", folder, runsToMake,
                kind == Kind::FailingCall ? "calls" : "copies", breaks);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t every = 1;
  bool verbose = false;
  bool listCalls = false;
  Kind kind = Kind::FailingCall;
  std::vector<const char*> machines;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--every") == 0 && i + 1 < argc) {
      every = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--verbose") == 0) {
      verbose = true;
    } else if (std::strcmp(argv[i], "--cd-out") == 0) {
      kind = Kind::CdOut;
    } else if (std::strcmp(argv[i], "--calls") == 0) {
      listCalls = true;
    } else {
      machines.push_back(argv[i]);
    }
  }
  if (machines.empty()) {
    std::fprintf(stderr, "usage: fault_sweep [--every N] [--cd-out] [--verbose] MACHINE...\n");
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
    if (!sweep(folder, kind, every, verbose, totals)) return 2;
  }
  std::printf("%zu runs, %zu %s, %zu invariant breaks\n", totals.runs, totals.injected,
              kind == Kind::FailingCall ? "failures injected" : "with the CD taken out", totals.breaks);
  return totals.breaks == 0 ? 0 : 1;
}
