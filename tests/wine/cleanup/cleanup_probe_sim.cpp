// The removal of earlier drivers on the simulated machine, then a Windows start:
// cleanup_probe_sim MACHINE-FOLDER
#include <cstdio>

#include "../../../src/platform/sim/MachineFolder.h"
#include "../../../src/platform/sim/SimPlatform.h"
#include "cleanup_probe.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cleanup_probe_sim MACHINE\n");
    return 2;
  }
  tvx::sim::Machine machine;
  try {
    tvx::sim::loadMachine(machine, argv[1]);
  } catch (const tvx::sim::MachineError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  tvx::sim::SimPlatform sim(machine);
  runCleanup(sim.platform());
  printState(sim.platform());
  std::printf("--- boot\n");
  machine.boot();
  printState(sim.platform());
  return 0;
}
