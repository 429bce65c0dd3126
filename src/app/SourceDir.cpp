#include "InstallContext.h"
#include "PathText.h"

namespace tvx {

namespace {

std::string moduleFolder(ISystemInfo& system) {
  char path[MAX_PATH] = {};
  system.GetModuleFileNameA(path, MAX_PATH);
  std::string full(path);
  auto slash = full.rfind('\\');
  return withBackslash(slash == std::string::npos ? full : full.substr(0, slash));
}

}  // namespace

void deriveSourceDir(InstallContext& ctx, const std::string& programPath, bool versionKnown, const Platform& platform) {
  const auto slash = programPath.rfind('\\');
  const bool unc = programPath.rfind("\\\\", 0) == 0;
  if (!versionKnown || unc || slash == std::string::npos || slash == 0) {
    ctx.sourceDir = moduleFolder(platform.system);
    return;
  }
  std::string dir = programPath.substr(0, slash);
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
