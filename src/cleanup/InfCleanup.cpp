#include <cstring>
#include <vector>

#include "../core/FolderScan.h"
#include "Cleanup.h"
#include "LegacyFiles.h"

namespace tvx {

namespace {

const char* const kMakerTokens[] = {"TVX4300", "TVX4400", "TVAUDIO", "Tarvic"};
const char* const kStringKeys[] = {"SSC-Legacy.DeviceDesc", "WDM_TVPCI.Wave.szPname"};
constexpr DWORD kValueBuffer = 64;

// An INF is the maker's when one of its two "Strings" entries begins with a maker token.
bool isMakersInf(IProfiles& profiles, const std::string& path) {
  for (const char* key : kStringKeys) {
    char value[kValueBuffer] = {};
    profiles.GetPrivateProfileStringA("Strings", key, "", value, kValueBuffer, path.c_str());
    for (const char* token : kMakerTokens) {
      if (std::strncmp(value, token, std::strlen(token)) == 0) return true;
    }
  }
  return false;
}

void deleteWithAttributesCleared(IFileSystem& files, const std::string& path) {
  files.SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  files.DeleteFileA(path.c_str());
}

}  // namespace

std::string windowsDirectory(ISystemInfo& system) {
  char buffer[MAX_PATH] = {};
  UINT n = system.GetWindowsDirectoryA(buffer, MAX_PATH);
  if (n < MAX_PATH) return buffer;
  std::vector<char> longer(n + 1);
  system.GetWindowsDirectoryA(longer.data(), n + 1);
  return longer.data();
}

void CleanOldDriverFiles(const Platform& platform, int retireLegacyFiles) {
  const std::string windows = windowsDirectory(platform.system);
  const std::string inf = windows + "\\INF\\";

  auto clean = [&](const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      const std::string path = folder + name;
      if (!isMakersInf(platform.profiles, path)) continue;
      deleteWithAttributesCleared(platform.files, path);
      deleteWithAttributesCleared(platform.files, path.substr(0, path.size() - 3) + "PNF");
    }
  };
  // Each search runs when its turn comes, so a file deleted by an earlier one is not found again.
  const std::vector<std::string> other = plainFilesOf(platform.files, inf + "OTHER\\*.INF");
  if (!other.empty()) {
    clean(inf + "OTHER\\", other);
  } else {
    clean(inf, plainFilesOf(platform.files, inf + "OEM*.INF"));
  }
  clean(inf, plainFilesOf(platform.files, inf + "TV*.INF"));
  clean(inf, plainFilesOf(platform.files, inf + "oem*.INF"));

  if (retireLegacyFiles == 0) return;
  RetireLegacyFiles(platform, windows);
}

}  // namespace tvx
