// The outcome of a run: does the machine now hold what the run told the person? The check reads
// the machine before and after the run (and after the Windows start a restart request brings),
// and what the person saw and did; it never asks the program what it meant. A completion message
// with the package's files not where the INF points Windows is INCOMPLETE; so is a run that was
// cancelled or refused and still changed more than that way of the program does before it stops.
#pragma once
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

struct Outcome {
  // Failed: the person was told the installation could not be made, and the machine changed.
  enum class Verdict { Complete, Incomplete, NothingInstalled, Failed };
  Verdict verdict = Verdict::NothingInstalled;
  std::string summary;               // what the machine holds, or why nothing was installed
  std::vector<std::string> missing;  // what an INCOMPLETE run lacks or changed, one piece each
  // What of the CD let the person down: a file the program looked for on the CD and did not find,
  // told or not ("W2K-ME\app\Setup.exe is missing from the CD"); empty when nothing did.
  std::string cdFault;
  std::string text() const;  // "complete (...)", "INCOMPLETE: ...; ...", "nothing installed (...)", "failed (...)"
  const char* word() const;  // "complete", "INCOMPLETE", "nothing installed", "failed"
};

// `after` is the machine when the run has ended; `filesBefore` and `registryBefore` as it was
// before the run.
Outcome checkOutcome(const Machine& after, const FileTree& filesBefore, const RegistryTree& registryBefore);

}  // namespace tvx::sim
