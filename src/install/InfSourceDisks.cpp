#include "../core/Constants.h"
#include "Steps.h"

namespace tvx {

namespace {
constexpr DWORD kValueBuffer = 1024;
}  // namespace

bool RewriteInfSourceDisks(const Platform& platform, const StagedInfList& stagedInfList, bool vxdFamily) {
  IProfiles& profiles = platform.profiles;
  const char* key = vxdFamily ? "1" : "200";
  const char* folder = vxdFamily ? kVxdInstallFolder : kWdmInstallFolder;
  bool whole = true;
  for (const std::string& inf : stagedInfList) {
    char value[kValueBuffer] = {};
    profiles.GetPrivateProfileStringA("SourceDisksNames", key, "", value, kValueBuffer, inf.c_str());
    if (value[0] == '\0') {
      // An INF without the disk has nothing to point; a copy that could not be read while the
      // staged INF it was copied from has the disk would keep naming the CD.
      const std::string staged =
          std::string(vxdFamily ? kVxdInstallDir : kWdmInstallDir) + inf.substr(inf.rfind('\\') + 1);
      char original[kValueBuffer] = {};
      profiles.GetPrivateProfileStringA("SourceDisksNames", key, "", original, kValueBuffer, staged.c_str());
      if (original[0] != '\0') whole = false;
      continue;
    }
    char shortPath[MAX_PATH] = {};
    const DWORD n = platform.files.GetShortPathNameA(folder, shortPath, MAX_PATH);
    // Without a short name (the folder is missing) the long name still names the folder.
    const std::string path = n > 0 && n < MAX_PATH ? shortPath : folder;
    if (vxdFamily) {
      whole = profiles.WritePrivateProfileStringA("SourceDisksNames", "1", (std::string(value) + ", " + path).c_str(),
                                                  inf.c_str()) &&
              whole;
    } else {
      whole = profiles.WritePrivateProfileStringA(
                  "SourceDisksNames", "200", ("\"Tarvic WDM Audio Driver Disk\",,," + path).c_str(), inf.c_str()) &&
              whole;
      whole = profiles.WritePrivateProfileStringA("SourceDisksFiles", "tvaudio.cat", "200", inf.c_str()) && whole;
    }
  }
  return whole;
}

}  // namespace tvx
