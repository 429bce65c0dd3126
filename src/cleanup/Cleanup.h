// Removal of the earlier drivers of the TVX4400 and TVX4300: device node, registry keys, INF
// files and legacy system files. Every operation is silent.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

// Result codes of CleanOldDriverRegistry.
constexpr int kRegistryCleaned = 0;
constexpr int kNoDeviceKeyFound = 1;
constexpr int kDeviceKeyDeleteFailed = 2;
constexpr int kVirtualKeyDeleteFailed = 3;

// Deletes the earlier drivers' MEDIA class instances, device nodes and companion registrations.
int CleanOldDriverRegistry(const Platform& platform);
// Deletes the subkeys of one MediaResources type key that belong to a MEDIA class instance.
void DeleteMediaResourceEntries(const Platform& platform, const std::string& typeKeyPath, const std::string& instance);

// Deletes the maker's INF files (and their PNF files) from the INF store; with
// retireLegacyFiles = 1 it then queues the legacy files for retirement and clears the earlier
// drivers' programs from the "run" entry of WIN.INI.
void CleanOldDriverFiles(const Platform& platform, int retireLegacyFiles);

// Queues one entry of the rename queue that Windows 95/98/Me carry out at their next start:
// the source is moved to the destination, or deleted when the destination is "NUL". False when the
// entry could not be written.
bool QueueRenameOnRestart(const Platform& platform, const std::string& destination, const std::string& source);
// Takes the entry of a destination out of the rename queue again. False when it could not be.
bool ForgetRenameOnRestart(const Platform& platform, const std::string& destination);

// The "run" entry of WIN.INI without the earlier drivers' programs; " " when none is left.
std::string RemoveLegacyRunPrograms(const std::string& run);

// Finds the first present device with a hardware ID containing `wanted` (a 256-character
// buffer) and, when *removeFlag is non-zero, removes it; see the implementation for the
// buffer, flag and last-error contract.
BOOL RemoveDeviceByHardwareId(const Platform& platform, char* wanted, int* removeFlag);

}  // namespace tvx
