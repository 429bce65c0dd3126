// Runs the setup program's logic, or a Windows start, on a simulated machine.
#pragma once
#include "../../src/platform/sim/Simulator.h"
#include "Report.h"

namespace tvx::sim {

// Runs Setup.exe's start-up on the machine and reports what it did.
RunReport runSetup(Machine& machine, const std::string& machineName);
// Starts Windows on the machine (the rename queue of WININIT.INI) and reports what it did.
RunReport bootMachine(Machine& machine, const std::string& machineName);

}  // namespace tvx::sim
