#include "state_probe.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../../../src/cleanup/Cleanup.h"

namespace {

using tvx::Platform;

const char* kCheck = "C:\\probe\\check.ini";

// Texts that differ between Windows and the simulated machine only by the spelling of the same
// folder are printed alike: the Windows folder as %windir%, the short names of the folders named
// in [Short] as <short of FOLDER> (Wine makes its own short names).
struct Normalizer {
  std::vector<std::pair<std::string, std::string>> replacements;

  explicit Normalizer(const Platform& p);
  std::string operator()(std::string text) const;
};

bool equalsNoCase(const std::string& a, std::size_t at, const std::string& b) {
  if (at + b.size() > a.size()) return false;
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[at + i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> keysOf(const Platform& p, const char* section, const char* file) {
  std::vector<char> buffer(16384);
  DWORD n =
      p.profiles.GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()), file);
  std::vector<std::string> keys;
  for (const char* k = buffer.data(); k < buffer.data() + n && *k != '\0'; k += std::strlen(k) + 1)
    keys.emplace_back(k);
  return keys;
}

std::string valueOf(const Platform& p, const char* section, const std::string& key, const char* file) {
  char value[1024];
  p.profiles.GetPrivateProfileStringA(section, key.c_str(), "(missing)", value, sizeof(value), file);
  return value;
}

HKEY rootOf(const std::string& name) {
  if (name == "HKLM") return HKEY_LOCAL_MACHINE;
  if (name == "HKCR") return HKEY_CLASSES_ROOT;
  if (name == "HKCU") return HKEY_CURRENT_USER;
  return HKEY_USERS;
}

// Values and subkeys are printed in name order: Wine lists them sorted, Windows 95 to Me in the
// order they were written.
void printKey(const Platform& p, HKEY key, const std::string& path, const Normalizer& normalize) {
  std::printf("key %s\n", path.c_str());
  char name[256];
  BYTE data[1024];
  std::vector<std::pair<std::string, std::string>> values;
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof(name);
    DWORD dataSize = sizeof(data);
    DWORD type = 0;
    if (p.registry.RegEnumValueA(key, i, name, &nameSize, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::string shown;
    if (type == REG_SZ) {
      const char* text = reinterpret_cast<char*>(data);
      shown = "\"" + normalize(std::string(text, dataSize > 0 ? strnlen(text, dataSize) : 0)) + "\"";
    } else if (type == REG_MULTI_SZ) {
      for (const char* s = reinterpret_cast<char*>(data); s < reinterpret_cast<char*>(data) + dataSize && *s != '\0';
           s += std::strlen(s) + 1) {
        shown += "\"" + normalize(s) + "\" ";
      }
    } else {
      char hex[4];
      for (DWORD b = 0; b < dataSize; ++b) {
        std::snprintf(hex, sizeof(hex), "%02x", data[b]);
        shown += hex;
      }
    }
    char line[1400];
    std::snprintf(line, sizeof(line), "  value \"%s\" type %u = %s\n", name, static_cast<unsigned>(type),
                  shown.c_str());
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    values.emplace_back(upper, line);
  }
  std::sort(values.begin(), values.end());
  for (const auto& v : values) std::fputs(v.second.c_str(), stdout);
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof(name);
    if (p.registry.RegEnumKeyExA(key, i, name, &size) != ERROR_SUCCESS) break;
    subkeys.emplace_back(name);
  }
  std::sort(subkeys.begin(), subkeys.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
    });
  });
  for (const auto& sub : subkeys) {
    HKEY child = nullptr;
    if (p.registry.RegOpenKeyExA(key, sub.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    printKey(p, child, path + "\\" + sub, normalize);
    p.registry.RegCloseKey(child);
  }
}

Normalizer::Normalizer(const Platform& p) {
  for (const std::string& key : keysOf(p, "Short", kCheck)) {
    const std::string folder = valueOf(p, "Short", key, kCheck);
    char shortPath[MAX_PATH] = {};
    const DWORD n = p.files.GetShortPathNameA(folder.c_str(), shortPath, MAX_PATH);
    if (n > 0 && n < MAX_PATH && folder != shortPath) replacements.emplace_back(shortPath, "<short of " + folder + ">");
  }
  char windows[MAX_PATH] = {};
  p.system.GetWindowsDirectoryA(windows, MAX_PATH);
  replacements.emplace_back(windows, "%windir%");
}

std::string Normalizer::operator()(std::string text) const {
  for (const auto& [from, to] : replacements) {
    for (std::size_t at = 0; at < text.size();) {
      if (equalsNoCase(text, at, from)) {
        text.replace(at, from.size(), to);
        at += to.size();
      } else {
        ++at;
      }
    }
  }
  return text;
}

// A file's bytes as lines, each with its line end spelled out.
void printContents(const Platform& p, const std::string& path, const Normalizer& normalize) {
  tvx::FileStream* f = p.streams.fopen(path.c_str(), "rb");
  if (f == nullptr) {
    std::printf("contents %s: absent\n", path.c_str());
    return;
  }
  std::printf("contents %s:\n", path.c_str());
  char line[1100];
  while (p.streams.fgets(line, sizeof(line), f) != nullptr) {
    std::string text(line);
    std::string end;
    if (!text.empty() && text.back() == '\n') {
      text.pop_back();
      end = "<LF>";
      if (!text.empty() && text.back() == '\r') {
        text.pop_back();
        end = "<CR><LF>";
      }
    }
    std::printf("  |%s|%s\n", normalize(text).c_str(), end.c_str());
  }
  p.streams.fclose(f);
}

}  // namespace

void runCleanup(const Platform& p) {
  char wanted[256] = {};
  std::strcpy(wanted, "PCI\\VEN_1D0C&DEV_0111");
  int remove = 1;
  p.system.SetLastError(0);
  BOOL removed = tvx::RemoveDeviceByHardwareId(p, wanted, &remove);
  std::printf("device removal: result %d, flag %d, buffer %s\n", removed ? 1 : 0, remove, wanted);
  std::printf("registry cleanup: %d\n", tvx::CleanOldDriverRegistry(p));
  tvx::CleanOldDriverFiles(p, 1);
  std::printf("file cleanup done\n");
}

void printState(const Platform& p) {
  const Normalizer normalize(p);
  for (const std::string& key : keysOf(p, "Keys", kCheck)) {
    const std::string path = valueOf(p, "Keys", key, kCheck);
    const auto slash = path.find('\\');
    HKEY k = nullptr;
    if (p.registry.RegOpenKeyExA(rootOf(path.substr(0, slash)), path.substr(slash + 1).c_str(), 0, KEY_READ, &k) !=
        ERROR_SUCCESS) {
      std::printf("key %s: absent\n", path.c_str());
      continue;
    }
    printKey(p, k, path, normalize);
    p.registry.RegCloseKey(k);
  }
  for (const std::string& key : keysOf(p, "Files", kCheck)) {
    const std::string path = valueOf(p, "Files", key, kCheck);
    std::printf("file %s: %s\n", path.c_str(), p.files.CanOpenForReading(path.c_str()) ? "present" : "absent");
  }
  // [Ini] entries name a file and a section: "WIN.INI|Windows".
  for (const std::string& key : keysOf(p, "Ini", kCheck)) {
    const std::string entry = valueOf(p, "Ini", key, kCheck);
    const auto bar = entry.find('|');
    const std::string file = entry.substr(0, bar);
    const std::string section = entry.substr(bar + 1);
    std::printf("ini %s [%s]:\n", file.c_str(), section.c_str());
    for (const std::string& name : keysOf(p, section.c_str(), file.c_str())) {
      std::printf("  %s=%s\n", normalize(name).c_str(),
                  normalize(valueOf(p, section.c_str(), name, file.c_str())).c_str());
    }
  }
  for (const std::string& key : keysOf(p, "Contents", kCheck)) {
    printContents(p, valueOf(p, "Contents", key, kCheck), normalize);
  }
}
