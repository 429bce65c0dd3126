#include "Cleanup.h"

namespace tvx {

void QueueRenameOnRestart(const Platform& platform, const std::string& destination, const std::string& source) {
  platform.profiles.WritePrivateProfileStringA("rename", destination.c_str(), source.c_str(), "WININIT.INI");
}

}  // namespace tvx
