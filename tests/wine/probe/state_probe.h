// Prints the state of a machine that the tests compare between Wine and the simulated machine:
// the registry keys, files and INI sections named in C:\probe\check.ini. The same code runs
// on both, so equal output means equal state. It can run the removal of earlier drivers first.
#pragma once
#include "../../../src/platform/Platform.h"

void runCleanup(const tvx::Platform& platform);
void printState(const tvx::Platform& platform);
