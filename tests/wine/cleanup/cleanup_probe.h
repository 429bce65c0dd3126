// Runs the removal of earlier drivers on a machine and prints the machine's state afterwards:
// the registry keys and files named in C:\cleanup\check.ini and the INI entries the removal
// writes. The same code runs on the simulated machine and under Wine.
#pragma once
#include "../../../src/platform/Platform.h"

void runCleanup(const tvx::Platform& platform);
void printState(const tvx::Platform& platform);
