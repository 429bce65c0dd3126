#include <cstring>
#include <string>

#include "../core/Scoped.h"
#include "ApplicationSuite.h"

namespace tvx {

namespace {

const char* const kAudioKey = "Software\\Microsoft\\Multimedia\\Audio";
constexpr DWORD kFormatsBuffer = 1024;

// The first entry of the comma-separated format list that contains "CD"; empty when none does.
std::string firstCdFormat(const std::string& formats) {
  std::size_t start = 0;
  while (start <= formats.size()) {
    std::size_t comma = formats.find(',', start);
    std::string entry = formats.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (entry.find("CD") != std::string::npos) return entry;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return {};
}

void writeDefaultFormat(IRegistry& reg, HKEY root, const char* path, const std::string& format) {
  const ScopedKey key(reg, root, path, KEY_ALL_ACCESS);
  if (!key.isOpen()) return;
  reg.RegSetValueExA(key.get(), "DefaultFormat", REG_SZ, reinterpret_cast<const BYTE*>(format.c_str()),
                     static_cast<DWORD>(format.size() + 1));
}

}  // namespace

void ApplyStartupAudioSettings(const InstallContext& ctx, const Platform& platform) {
  const std::string setupIni = ctx.sourceDir + "setup.ini";
  const UINT usingCdda = platform.profiles.GetPrivateProfileIntA("Default", "UsingCDDA", 0, setupIni.c_str());
  platform.profiles.WritePrivateProfileStringA("CD PLAYER", "UsingCDDA", usingCdda != 0 ? "1" : "0", "TVCDPLAY.INI");

  IRegistry& reg = platform.registry;
  std::string format;
  if (const ScopedKey audio(reg, HKEY_CURRENT_USER, kAudioKey, KEY_ALL_ACCESS); audio.isOpen()) {
    char formats[kFormatsBuffer + 1] = {};
    DWORD size = kFormatsBuffer;
    if (reg.RegQueryValueExA(audio.get(), "SystemFormats", nullptr, reinterpret_cast<BYTE*>(formats), &size) ==
        ERROR_SUCCESS) {
      format = firstCdFormat(std::string(formats, strnlen(formats, size)));
    }
  }
  if (!format.empty()) {
    writeDefaultFormat(reg, HKEY_CURRENT_USER, kAudioKey, format);
    writeDefaultFormat(reg, HKEY_USERS, ".Default\\Software\\Microsoft\\Multimedia\\Audio", format);
  }

  const ScopedKey run(reg, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", KEY_ALL_ACCESS);
  if (run.isOpen()) reg.RegDeleteValueA(run.get(), "Tarvic Sound Suite");
}

}  // namespace tvx
