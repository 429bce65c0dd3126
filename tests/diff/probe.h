// Platform operations run the same way on the simulated machine and on Windows (under Wine),
// printing their results line by line so that the two outputs can be compared.
#pragma once
#include <string>

#include "../../src/platform/Platform.h"

void runProbe(const tvx::Platform& platform);

// Groups of probe cases, each in a file of its own.
void probeStreams(const tvx::Platform& platform);
void probeCd(const tvx::Platform& platform);
void probeDevices(const tvx::Platform& platform);
void probePrograms(const tvx::Platform& platform);
void probeRunning(const tvx::Platform& platform);
void probeFamily(const tvx::Platform& platform);

// What the platform does not show: the full path of the program file that the last start ran.
// On Windows the stand-in writes it down itself; on the simulated machine the machine knows.
std::string programThatRan(const tvx::Platform& platform);
