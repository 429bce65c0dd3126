#include "InstallPaths.h"
#include "Steps.h"

namespace tvx {

namespace {
constexpr DWORD kValueBuffer = 1024;
}  // namespace

void RewriteInfSourceDisks(const Platform& platform, const StagedInfList& stagedInfList, bool vxdFamily) {
  IProfiles& profiles = platform.profiles;
  const char* key = vxdFamily ? "1" : "200";
  const char* folder = vxdFamily ? kVxdInstallFolder : kWdmInstallFolder;
  for (const std::string& inf : stagedInfList) {
    char value[kValueBuffer] = {};
    profiles.GetPrivateProfileStringA("SourceDisksNames", key, "", value, kValueBuffer, inf.c_str());
    if (value[0] == '\0') continue;
    char shortPath[MAX_PATH] = {};
    const DWORD n = platform.files.GetShortPathNameA(folder, shortPath, MAX_PATH);
    // Without a short name (the folder is missing) the long name still names the folder.
    const std::string path = n > 0 && n < MAX_PATH ? shortPath : folder;
    if (vxdFamily) {
      profiles.WritePrivateProfileStringA("SourceDisksNames", "1", (std::string(value) + ", " + path).c_str(),
                                          inf.c_str());
    } else {
      profiles.WritePrivateProfileStringA("SourceDisksNames", "200",
                                          ("\"Tarvic WDM Audio Driver Disk\",,," + path).c_str(), inf.c_str());
      profiles.WritePrivateProfileStringA("SourceDisksFiles", "tvaudio.cat", "200", inf.c_str());
    }
  }
}

}  // namespace tvx
