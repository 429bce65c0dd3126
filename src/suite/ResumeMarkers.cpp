#include <string>

#include "../core/PathText.h"
#include "ApplicationSuite.h"

namespace tvx {

namespace {

const char* const kWdmInstallDir = "C:\\Program Files\\Tarvic\\W2K-ME";

}  // namespace

bool WriteResumeMarkers(const Platform& platform, int installDriver, int vxdFamily) {
  const std::string windows = windowsFolder(platform.system);
  if (windows.empty()) return false;  // no Windows folder: the installer would find no markers
  const std::string markers = windows + "TVXSETUP.INI";
  IProfiles& profiles = platform.profiles;
  const auto write = [&](const char* section, const char* key, const std::string& value) {
    return profiles.WritePrivateProfileStringA(section, key, value.c_str(), markers.c_str()) != FALSE;
  };

  if (installDriver != 0 && vxdFamily == 0) {
    bool whole = write("Need_To_Reboot", "Install", "NO");
    char shortPath[MAX_PATH] = {};
    DWORD n = platform.files.GetShortPathNameA(kWdmInstallDir, shortPath, MAX_PATH);
    // Without a short name (the folder is missing) the long path still names the folder.
    const std::string folder = withBackslash(n > 0 && n < MAX_PATH ? shortPath : kWdmInstallDir);
    platform.files.SetCurrentDirectoryA(folder.c_str());
    whole = write("Need_To_InstallDriver", "Install", "YES") && whole;
    return write("Need_To_InstallDriver", "Command", folder + "MESetup.dat") && whole;
  }
  bool whole = write("Need_To_Reboot", "Install", "YES");
  whole = write("Need_To_InstallDriver", "Install", "NO") && whole;
  return write("Need_To_InstallDriver", "Command", "") && whole;
}

}  // namespace tvx
