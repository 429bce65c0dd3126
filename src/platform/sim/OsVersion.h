// The Windows a machine is, and the numbers GetVersionExA reports. The numbers may be set apart
// from the name (a machine's version=, platform=, csd=): the machine's files, registry and start
// still behave as the named Windows' do.
#pragma once
#include <optional>
#include <string>

#include "../WinTypes.h"

namespace tvx::sim {

struct OsVersion {
  std::string name;       // win95, win98, win98se, winme, nt40, win2k, winxp
  bool windows9x = true;  // the named Windows is of the 95 family
  DWORD platformId = VER_PLATFORM_WIN32_WINDOWS;
  DWORD major = 4;
  DWORD minor = 0;
  DWORD build = 0;  // as GetVersionExA reports it: on the Windows 95 family the high word holds the version
  std::string servicePack;

  bool isWindows9x() const { return windows9x; }
  // The build number alone, without the version the 95 family keeps in its high word.
  DWORD plainBuild() const { return platformId == VER_PLATFORM_WIN32_WINDOWS ? build & 0xFFFF : build; }
  // Sets the version numbers as GetVersionExA reports them on this platform.
  void setVersion(DWORD majorVersion, DWORD minorVersion, DWORD buildNumber);
  // The name, and the numbers where they are not the named Windows' own ("win98se reporting
  // 4.10.2047 on platform 1").
  std::string describe() const;
  static std::optional<OsVersion> byName(const std::string& name);
};

}  // namespace tvx::sim
