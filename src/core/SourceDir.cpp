#include "SourceDir.h"

#include "PathText.h"

namespace tvx {

std::string sourceDirOf(const std::string& programPath, bool versionKnown, const Platform& platform) {
  const auto slash = programPath.rfind('\\');
  const bool unc = programPath.rfind("\\\\", 0) == 0;
  const bool pathTells = !unc && slash != std::string::npos && slash != 0;
  if (!versionKnown || !pathTells) {
    const std::string module = moduleFolder(platform.system);
    if (!module.empty()) return module;
    // Without the module's folder the path as started tells it, or else the current folder.
    if (!pathTells) {
      char current[MAX_PATH] = {};
      const DWORD n = platform.files.GetCurrentDirectoryA(MAX_PATH, current);
      return withBackslash(n > 0 && n < MAX_PATH ? current : "");
    }
  }
  std::string dir = programPath.substr(0, slash);
  const bool rooted = dir[0] == '\\' || (dir.size() >= 3 && dir[1] == ':' && dir[2] == '\\');
  if (!rooted) {
    // A path relative to the current folder ("sub\Setup.exe", "D:sub\Setup.exe") is made whole
    // now: the current folder changes later in the run.
    char full[MAX_PATH] = {};
    const DWORD n = platform.files.GetFullPathNameA(programPath.c_str(), MAX_PATH, full, nullptr);
    const std::string path(n > 0 && n < MAX_PATH ? full : "");
    const auto fullSlash = path.rfind('\\');
    if (fullSlash != std::string::npos && fullSlash > 0) {
      return withBackslash(path.substr(0, fullSlash));
    }
  }
  if (dir.size() < 2 || dir[1] != ':') {
    char current[MAX_PATH] = {};
    platform.files.GetCurrentDirectoryA(MAX_PATH, current);
    std::string cwd(current);
    auto colon = cwd.find(':');
    dir = (colon == std::string::npos ? cwd : cwd.substr(0, colon + 1)) + dir;
  }
  return withBackslash(dir);
}

std::string sourceDirOf(const std::string& programPath, const Platform& platform) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  return sourceDirOf(programPath, platform.system.GetVersionExA(&version) != FALSE, platform);
}

}  // namespace tvx
