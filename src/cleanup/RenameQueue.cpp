#include "Cleanup.h"

namespace tvx {

bool QueueRenameOnRestart(const Platform& platform, const std::string& destination, const std::string& source) {
  return platform.profiles.WritePrivateProfileStringA("rename", destination.c_str(), source.c_str(), "WININIT.INI") !=
         FALSE;
}

bool ForgetRenameOnRestart(const Platform& platform, const std::string& destination) {
  return platform.profiles.WritePrivateProfileStringA("rename", destination.c_str(), nullptr, "WININIT.INI") != FALSE;
}

}  // namespace tvx
