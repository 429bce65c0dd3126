// The state probe on the simulated machine:
//   state_probe_sim MACHINE cleanup   the removal of earlier drivers, the state, a Windows start, the state
//   state_probe_sim MACHINE setup     Setup.exe's start-up, then the state
// With a third argument, that host file is the list of what to print (C:\probe\check.ini).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../../../src/app/CSetupApp.h"
#include "../../../src/platform/sim/MachineFolder.h"
#include "../../../src/platform/sim/SimPlatform.h"
#include "state_probe.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || (std::strcmp(argv[2], "cleanup") != 0 && std::strcmp(argv[2], "setup") != 0)) {
    std::fprintf(stderr, "usage: state_probe_sim MACHINE cleanup|setup [CHECK-FILE]\n");
    return 2;
  }
  tvx::sim::Machine machine;
  if (!tvx::sim::loadMachineOrReport(machine, argv[1], "state_probe_sim")) return 2;
  if (argc == 4) {
    std::ifstream in(argv[3], std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    auto probe = *tvx::sim::parseAbsolutePath("C:\\probe\\check.ini");
    machine.files.makeDirectories(probe.parent());
    machine.files.writeFile(probe, text.str());
  }
  tvx::sim::SimPlatform sim(machine);
  if (std::strcmp(argv[2], "setup") == 0) {
    tvx::CSetupApp app(sim.platform());
    try {
      app.Run();
    } catch (const tvx::sim::ProcessExitRequest&) {
      // Setup ended its process, as it does at the end of most flows.
    }
    printState(sim.platform());
    return 0;
  }
  runCleanup(sim.platform());
  printState(sim.platform());
  std::printf("--- boot\n");
  machine.boot();
  printState(sim.platform());
  return 0;
}
