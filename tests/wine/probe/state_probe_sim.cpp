// The state probe on the simulated machine:
//   state_probe_sim MACHINE cleanup   the removal of earlier drivers, the state, a Windows start, the state
//   state_probe_sim MACHINE setup     Setup.exe's start-up, then the state
//   state_probe_sim MACHINE restart   Setup.exe's start-up, the Windows start it asked for, the
//                                     state (Wine carries out WININIT.INI when asked to restart)
// With a third argument, that host file is the list of what to print (C:\probe\check.ini).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../../../src/app/CSetupApp.h"
#include "../../../src/platform/sim/Simulator.h"
#include "state_probe.h"

int main(int argc, char** argv) {
  const std::string mode = argc >= 3 ? argv[2] : "";
  if (argc < 3 || argc > 4 || (mode != "cleanup" && mode != "setup" && mode != "restart")) {
    std::fprintf(stderr, "usage: state_probe_sim MACHINE cleanup|setup|restart [CHECK-FILE]\n");
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
  if (mode == "setup" || mode == "restart") {
    tvx::CSetupApp app(sim.platform());
    try {
      app.Run();
    } catch (const tvx::sim::ProcessExitRequest&) {
      // Setup ended its process, as it does at the end of most flows.
    }
    if (mode == "restart" && machine.restartRequested) machine.boot();
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
