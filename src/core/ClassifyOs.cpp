#include "InstallContext.h"

namespace tvx {

bool classifyOs(InstallContext& ctx, ISystemInfo& system) {
  ctx.isWin95 = ctx.isWin98 = ctx.isWin98SE = ctx.isWinMe = ctx.isNT4 = ctx.isNT5 = 0;
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!system.GetVersionExA(&info)) return false;

  const DWORD highWord = info.dwBuildNumber >> 16;
  const DWORD lowWord = info.dwBuildNumber & 0xFFFF;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    if (info.dwMinorVersion == 0) {
      ctx.isWin95 = 1;
    } else if ((highWord >> 4) > 0x40) {
      ctx.isWinMe = 1;
    } else {
      ctx.isWin98 = 1;
      ctx.isWin98SE = (lowWord >> 8) == 8 ? 1 : 0;
    }
  } else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    if (info.dwMajorVersion < 5) {
      ctx.isNT4 = 1;
    } else {
      ctx.isNT5 = 1;
    }
  }
  return true;
}

}  // namespace tvx
