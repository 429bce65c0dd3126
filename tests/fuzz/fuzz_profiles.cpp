// The profile functions on any INI or INF bytes: every section and key listed reads, and a value
// written reads back as written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzMachine.h"

namespace {
std::vector<std::string> listOf(const char* buffer, DWORD n) {
  std::vector<std::string> out;
  for (const char* p = buffer; p < buffer + n && *p != '\0'; p += std::strlen(p) + 1) out.emplace_back(p);
  return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::FuzzMachine m;
  const char* file = "C:\\WINDOWS\\INF\\FUZZ.INF";
  m.write(file, std::string(reinterpret_cast<const char*>(data), size));
  tvx::IProfiles& profiles = m.platform().profiles;
  char sections[4096];
  const DWORD n = profiles.GetPrivateProfileStringA(nullptr, nullptr, "", sections, sizeof(sections), file);
  for (const std::string& section : listOf(sections, n)) {
    char keys[4096];
    const DWORD k = profiles.GetPrivateProfileStringA(section.c_str(), nullptr, "", keys, sizeof(keys), file);
    for (const std::string& key : listOf(keys, k)) {
      char small[4];
      char value[1024];
      profiles.GetPrivateProfileStringA(section.c_str(), key.c_str(), "", small, sizeof(small), file);
      profiles.GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof(value), file);
      profiles.GetPrivateProfileIntA(section.c_str(), key.c_str(), 7, file);
    }
  }
  // Written values read back; a rewrite of the first entry and a new one.
  const std::string first = n > 0 ? std::string(sections) : "Fuzz";
  for (const char* key : {"1", "NewKey"}) {
    if (!profiles.WritePrivateProfileStringA(first.c_str(), key, "written value", file)) std::abort();
    char value[64];
    profiles.GetPrivateProfileStringA(first.c_str(), key, "", value, sizeof(value), file);
    if (std::strcmp(value, "written value") != 0) std::abort();
  }
  profiles.WritePrivateProfileStringA(first.c_str(), "NewKey", nullptr, file);
  char gone[8];
  profiles.GetPrivateProfileStringA(first.c_str(), "NewKey", "none", gone, sizeof(gone), file);
  if (std::strcmp(gone, "none") != 0) std::abort();
  return 0;
}
