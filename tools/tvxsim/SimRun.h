// Runs the setup program's logic, or a Windows start, on a simulated machine.
#pragma once
#include "../../src/platform/sim/Simulator.h"
#include "Report.h"

namespace tvx::sim {

// Runs Setup.exe's start-up on the machine and reports what it did. A run past the machine's
// bounds throws RunBoundExceeded.
RunReport runSetup(Machine& machine, const std::string& machineName);
// The bounds past which a run hangs: three hours of virtual time (the longest waits of a driver
// run take minutes), two million platform calls, the same message box back three times in a row.
void boundRun(Machine& machine);
// runSetup within those bounds: a run that hangs or throws is reported with what it did until
// then, its `problem` saying why, and fails its sign-off.
RunReport runWithinBounds(Machine& machine, const std::string& machineName);
// Starts Windows on the machine (the rename queue of WININIT.INI) and reports what it did.
RunReport bootMachine(Machine& machine, const std::string& machineName);

}  // namespace tvx::sim
