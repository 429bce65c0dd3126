// The probe on the simulated machine: platform_probe_sim MACHINE-FOLDER OS
#include <cstdio>

#include "../../src/platform/sim/Simulator.h"
#include "probe.h"

namespace {
tvx::sim::Machine* g_machine = nullptr;
std::size_t g_processesSeen = 0;
}  // namespace

std::string programThatRan(const tvx::Platform&) {
  if (g_machine->processes.size() <= g_processesSeen) return {};
  g_processesSeen = g_machine->processes.size();
  return g_machine->processes.back().program;
}

void takeOutCd(const tvx::Platform&) { g_machine->drivesWithoutMedium.insert('D'); }
void putBackCd(const tvx::Platform&) { g_machine->drivesWithoutMedium.erase('D'); }

void holdFile(const tvx::Platform&, const char* path) {
  g_machine->heldFiles.insert(tvx::sim::toUpper(tvx::sim::parseAbsolutePath(path)->str()));
}
void releaseFile(const tvx::Platform&, const char* path) {
  g_machine->heldFiles.erase(tvx::sim::toUpper(tvx::sim::parseAbsolutePath(path)->str()));
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: platform_probe_sim MACHINE OS\n");
    return 2;
  }
  tvx::sim::Machine machine;
  if (!tvx::sim::loadMachineOrReport(machine, argv[1], "platform_probe_sim")) return 2;
  auto os = tvx::sim::OsVersion::byName(argv[2]);
  if (!os) {
    std::fprintf(stderr, "unknown os %s\n", argv[2]);
    return 2;
  }
  machine.os = *os;
  machine.crtTextModes = true;  // the probe's first pass is msvcrt.dll's streams
  g_machine = &machine;
  tvx::sim::SimPlatform sim(machine);
  runProbe(sim.platform(), sim.platform().streams);
  return 0;
}
