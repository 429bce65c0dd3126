// The earlier drivers' system files, queued for retirement at the next start of Windows.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

// The Windows directory as the system gives it, whatever its length.
std::string windowsDirectory(ISystemInfo& system);
// Queues each legacy file that exists for its retired name and clears the earlier drivers'
// programs from the "run" entry of WIN.INI.
void RetireLegacyFiles(const Platform& platform, const std::string& windowsDir);

}  // namespace tvx
