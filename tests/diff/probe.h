// Platform operations run the same way on the simulated machine and on Windows (under Wine),
// printing their results line by line so that the two outputs can be compared.
#pragma once
#include <string>

#include "../../src/platform/Platform.h"

// `msvcrt` is the C runtime's own streams, compared first in every mode; the platform's streams
// are then compared in binary mode, the mode the program uses. On the simulated machine both are
// the simulated C runtime.
void runProbe(const tvx::Platform& platform, tvx::IFileStreams& msvcrt);

// Groups of probe cases, each in a file of its own.
void probeStreams(const tvx::Platform& platform);
void probeBinaryStreams(const tvx::Platform& platform, const char* folder);
void probeCd(const tvx::Platform& platform);
void probeDevices(const tvx::Platform& platform);
void probePrograms(const tvx::Platform& platform);
void probeRunning(const tvx::Platform& platform);
void probeFamily(const tvx::Platform& platform);
void probeMedium(const tvx::Platform& platform);
void probeSameFile(const tvx::Platform& platform);
void probeHeld(const tvx::Platform& platform);

// Starts a command line with CreateProcessA; false when it did not start (GetLastError says why).
bool startProgram(const tvx::Platform& platform, const char* commandLine, PROCESS_INFORMATION& info);

// Waits for a started program to end (10 s at the most), closes its handles and gives its exit
// code, STILL_ACTIVE when it did not end.
DWORD waitForEnd(const tvx::Platform& platform, const PROCESS_INFORMATION& info);

// What the platform does not show: the full path of the program file that the last start ran.
// On Windows the stand-in writes it down itself; on the simulated machine the machine knows.
std::string programThatRan(const tvx::Platform& platform);

// The CD taken out of drive D: and put back. On the simulated machine the machine does it; under
// Wine the probe renames the folder the drive stands for.
void takeOutCd(const tvx::Platform& platform);
void putBackCd(const tvx::Platform& platform);

// A file held open without sharing, as another program may hold it, and let go. On the simulated
// machine the machine holds it; on Windows the probe opens it with no sharing.
void holdFile(const tvx::Platform& platform, const char* path);
void releaseFile(const tvx::Platform& platform, const char* path);
