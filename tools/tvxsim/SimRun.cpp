#include "SimRun.h"

#include "../../src/app/CSetupApp.h"
#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

namespace {

RunReport baseReport(const Machine& machine, const std::string& machineName) {
  RunReport r;
  r.machineName = machineName;
  r.os = machine.os.describe();
  r.commandLine = machine.commandLine;
  return r;
}

void finish(RunReport& r, const Machine& machine, const FileTree& files, const RegistryTree& registry) {
  r.happenings = machine.log;
  r.files = diffFiles(files, machine.files);
  r.registry = diffRegistry(registry, machine.registry);
  r.restart = machine.restartRequested;
  r.exitCode = machine.exitCode;
  r.virtualTime = machine.now;
}

}  // namespace

RunReport runSetup(Machine& machine, const std::string& machineName) {
  RunReport r = baseReport(machine, machineName);
  const FileTree files = machine.files;
  const RegistryTree registry = machine.registry;
  r.sourcesBefore = installationSources(machine.registry);
  SimPlatform sim(machine);
  {
    CSetupApp app(sim.platform());
    try {
      machine.exitCode = app.Run();
      machine.record("exit", {{"code", std::to_string(*machine.exitCode)}, {"how", "InitInstance returned"}});
    } catch (const ProcessExitRequest&) {
      // The program ended its process; the exit code is already recorded.
    }
  }
  if (sim.registry().openHandles() > 0)
    r.leaks.push_back(std::to_string(sim.registry().openHandles()) + " registry keys");
  if (sim.processes().openHandles() > 0) {
    r.leaks.push_back(std::to_string(sim.processes().openHandles()) + " process or thread handles");
  }
  if (sim.devices().openLists() > 0) {
    r.leaks.push_back(std::to_string(sim.devices().openLists()) + " device or source lists");
  }
  if (sim.streams().openStreams() > 0) r.leaks.push_back(std::to_string(sim.streams().openStreams()) + " file streams");
  r.sourcesAfter = installationSources(machine.registry);
  finish(r, machine, files, registry);
  r.outcome = checkOutcome(machine, files, registry);
  r.signOff = signOffOf(r.outcome, r.problem);
  return r;
}

void boundRun(Machine& machine) {
  machine.faults.maxTime = 3 * 3600 * 1000;
  machine.faults.maxCalls = 2000000;
  machine.faults.maxRepeats = 3;
}

RunReport runWithinBounds(Machine& machine, const std::string& machineName) {
  boundRun(machine);
  const FileTree files = machine.files;
  const RegistryTree registry = machine.registry;
  std::string problem;
  try {
    return runSetup(machine, machineName);
  } catch (const RunBoundExceeded& e) {
    problem = "hung: " + e.what;
  } catch (const std::exception& e) {
    problem = std::string("crashed: ") + e.what();
  }
  // What it did until then, for its page.
  RunReport r = baseReport(machine, machineName);
  finish(r, machine, files, registry);
  r.problem = problem;
  r.signOff = signOffOf(std::nullopt, problem);
  return r;
}

RunReport bootMachine(Machine& machine, const std::string& machineName) {
  RunReport r = baseReport(machine, machineName);
  r.commandLine = "(Windows start)";
  const FileTree files = machine.files;
  const RegistryTree registry = machine.registry;
  for (const auto& line : machine.boot()) machine.record("boot", {{"WININIT.INI", line}});
  if (!machine.os.isWindows9x())
    machine.record("boot", {{"WININIT.INI", "not read: only Windows 95, 98 and Me carry it out"}});
  finish(r, machine, files, registry);
  return r;
}

}  // namespace tvx::sim
