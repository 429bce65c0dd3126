// Platform operations run the same way on the simulated machine and on Windows (under Wine),
// printing their results line by line so that the two outputs can be compared.
#pragma once
#include "../../src/platform/Platform.h"

void runProbe(const tvx::Platform& platform);

// Groups of probe cases, each in a file of its own.
void probeStreams(const tvx::Platform& platform);
void probeCd(const tvx::Platform& platform);
void probeDevices(const tvx::Platform& platform);
