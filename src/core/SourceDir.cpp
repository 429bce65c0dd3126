#include "InstallContext.h"
#include "PathText.h"

namespace tvx {

void deriveSourceDir(InstallContext& ctx, const std::string& programPath, bool versionKnown, const Platform& platform) {
  const auto slash = programPath.rfind('\\');
  const bool unc = programPath.rfind("\\\\", 0) == 0;
  if (!versionKnown || unc || slash == std::string::npos || slash == 0) {
    ctx.sourceDir = moduleFolder(platform.system);
    return;
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
      ctx.sourceDir = withBackslash(path.substr(0, fullSlash));
      return;
    }
  }
  if (dir.size() < 2 || dir[1] != ':') {
    char current[MAX_PATH] = {};
    platform.files.GetCurrentDirectoryA(MAX_PATH, current);
    std::string cwd(current);
    auto colon = cwd.find(':');
    dir = (colon == std::string::npos ? cwd : cwd.substr(0, colon + 1)) + dir;
  }
  ctx.sourceDir = withBackslash(dir);
}

}  // namespace tvx
