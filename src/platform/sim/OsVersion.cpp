#include "OsVersion.h"

#include "Text.h"

namespace tvx::sim {

std::optional<OsVersion> OsVersion::byName(const std::string& name) {
  struct Row {
    const char* name;
    DWORD platform, major, minor, buildNumber;
    const char* servicePack;
  };
  // Build numbers as GetVersionExA reports them: on the Windows 95 family the high word is
  // major*256+minor and the low word the build; on NT the build alone.
  static const Row rows[] = {
      {"win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x040003B6, ""},
      {"win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A07CE, ""},
      {"win98se", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A08AE, " A "},
      {"winme", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0x045A0BB8, " "},
      {"nt40", VER_PLATFORM_WIN32_NT, 4, 0, 1381, "Service Pack 6"},
      {"win2k", VER_PLATFORM_WIN32_NT, 5, 0, 2195, "Service Pack 4"},
      {"winxp", VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 3"},
  };
  for (const auto& r : rows) {
    if (iequals(name, r.name)) {
      return OsVersion{
          r.name, r.platform == VER_PLATFORM_WIN32_WINDOWS, r.platform, r.major, r.minor, r.buildNumber, r.servicePack};
    }
  }
  return std::nullopt;
}

void OsVersion::setVersion(DWORD majorVersion, DWORD minorVersion, DWORD buildNumber) {
  major = majorVersion;
  minor = minorVersion;
  build = platformId == VER_PLATFORM_WIN32_WINDOWS
              ? (majorVersion << 24) | (minorVersion << 16) | (buildNumber & 0xFFFF)
              : buildNumber;
}

std::string OsVersion::describe() const {
  const auto named = byName(name);
  std::string out = name;
  if (!named || named->platformId != platformId || named->major != major || named->minor != minor ||
      named->build != build) {
    out += " reporting " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(plainBuild()) +
           " on platform " + std::to_string(platformId);
  }
  if (named && named->servicePack != servicePack) out += ", CSD \"" + servicePack + "\"";
  return out;
}

}  // namespace tvx::sim
