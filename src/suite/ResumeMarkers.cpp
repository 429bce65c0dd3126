#include <string>

#include "../app/PathText.h"
#include "ApplicationSuite.h"

namespace tvx {

namespace {

const char* const kWdmInstallDir = "C:\\Program Files\\Tarvic\\W2K-ME";

}  // namespace

void WriteResumeMarkers(const Platform& platform, int installDriver, int useVxdDriver) {
  char windows[MAX_PATH] = {};
  platform.system.GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string markers = withBackslash(windows) + "TVXSETUP.INI";
  IProfiles& profiles = platform.profiles;

  if (installDriver != 0 && useVxdDriver == 0) {
    profiles.WritePrivateProfileStringA("Need_To_Reboot", "Install", "NO", markers.c_str());
    char shortPath[MAX_PATH] = {};
    DWORD n = platform.files.GetShortPathNameA(kWdmInstallDir, shortPath, MAX_PATH);
    // Without a short name (the folder is missing) the long path still names the folder.
    const std::string folder = withBackslash(n > 0 && n < MAX_PATH ? shortPath : kWdmInstallDir);
    platform.files.SetCurrentDirectoryA(folder.c_str());
    profiles.WritePrivateProfileStringA("Need_To_InstallDriver", "Install", "YES", markers.c_str());
    profiles.WritePrivateProfileStringA("Need_To_InstallDriver", "Command", (folder + "MESetup.dat").c_str(),
                                        markers.c_str());
    return;
  }
  profiles.WritePrivateProfileStringA("Need_To_Reboot", "Install", "YES", markers.c_str());
  profiles.WritePrivateProfileStringA("Need_To_InstallDriver", "Install", "NO", markers.c_str());
  profiles.WritePrivateProfileStringA("Need_To_InstallDriver", "Command", "", markers.c_str());
}

}  // namespace tvx
