#include "probe.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../../src/core/InstallContext.h"

namespace {

using tvx::Platform;

const char* kIni = "C:\\probe\\test.ini";
const char* kNewIni = "C:\\probe\\written.ini";

void readString(const Platform& p, const char* file, const char* section, const char* key, const char* def,
                DWORD size = 64) {
  std::vector<char> buf(size + 2, '#');
  DWORD n = p.profiles.GetPrivateProfileStringA(section, key, def, buf.data(), size, file);
  std::string shown;
  // Lists hold NULs; show them as '|'.
  for (DWORD i = 0; i < n && i < size; ++i) shown += buf[i] == '\0' ? '|' : buf[i];
  std::printf("string [%s] %s (default %s, size %u): %u \"%s\"\n", section ? section : "(null)", key ? key : "(null)",
              def ? def : "(null)", static_cast<unsigned>(size), static_cast<unsigned>(n), shown.c_str());
}

void readInt(const Platform& p, const char* section, const char* key) {
  UINT v = p.profiles.GetPrivateProfileIntA(section, key, 99, kIni);
  std::printf("int [%s] %s: %d\n", section, key, static_cast<int>(v));
}

// The entries of an INI file as the profile functions see them, section by section.
void dumpProfile(const Platform& p, const char* file) {
  char sections[2048];
  DWORD n = p.profiles.GetPrivateProfileStringA(nullptr, nullptr, "", sections, sizeof(sections), file);
  std::printf("profile %s:\n", file);
  for (const char* s = sections; s < sections + n && *s; s += std::strlen(s) + 1) {
    char keys[2048];
    DWORD k = p.profiles.GetPrivateProfileStringA(s, nullptr, "", keys, sizeof(keys), file);
    std::printf("  [%s]\n", s);
    for (const char* key = keys; key < keys + k && *key; key += std::strlen(key) + 1) {
      char value[256];
      p.profiles.GetPrivateProfileStringA(s, key, "", value, sizeof(value), file);
      std::printf("    %s=%s\n", key, value);
    }
  }
}

void profiles(const Platform& p) {
  readString(p, kIni, "Quotes", "double", "");
  readString(p, kIni, "Quotes", "single", "");
  readString(p, kIni, "Quotes", "unbalanced", "");
  readString(p, kIni, "Quotes", "inner", "");
  readString(p, kIni, "quotes", "DOUBLE", "");
  readString(p, kIni, "Blanks", "spaced key", "");
  readString(p, kIni, " Blanks ", " spaced key ", "");
  readString(p, kIni, "Blanks", "empty", "def");
  readString(p, kIni, "Blanks", "missing", "fallback");
  readString(p, kIni, "Blanks", "missing", "trailing   ");
  readString(p, kIni, "Nowhere", "key", "nosection");
  readString(p, "C:\\probe\\absent.ini", "Any", "key", "nofile");
  readString(p, kIni, "Quotes", "double", "", 5);
  readString(p, kIni, "Odd", "twice", "");
  readString(p, kIni, "Odd", "noequals", "def");
  readString(p, kIni, "Odd", ";comment", "def");
  readString(p, kIni, "Odd", "later", "def");
  readString(p, kIni, "Odd", "tabbed", "");
  readString(p, kIni, "Quotes", nullptr, "");
  readString(p, kIni, nullptr, nullptr, "");
  for (const char* key : {"plain", "trailing", "negative", "text", "spaces", "quoted", "hex", "empty", "missing"}) {
    readInt(p, "Numbers", key);
  }
  std::printf("int missing file: %d\n",
              static_cast<int>(p.profiles.GetPrivateProfileIntA("A", "B", 7, "C:\\probe\\absent.ini")));

  auto write = [&](const char* file, const char* section, const char* key, const char* value) {
    BOOL ok = p.profiles.WritePrivateProfileStringA(section, key, value, file);
    std::printf("write [%s] %s=%s: %s\n", section, key ? key : "(null)", value ? value : "(null)",
                ok ? "ok" : "failed");
  };
  write(kIni, "Numbers", "plain", "43");
  write(kIni, "numbers", "added", "new value");
  write(kIni, "Fresh", "first", "1");
  write(kIni, "Quotes", "single", nullptr);
  write(kIni, "Blanks", nullptr, nullptr);
  write(kIni, "Odd", "twice", "rewritten");
  write(kIni, "Quotes", "double", "\"kept quotes\"");
  write(kNewIni, "rename", "C:\\probe\\a.old", "C:\\probe\\a.dll");
  write(kNewIni, "rename", "NUL", "C:\\probe\\b.dll");
  write(kNewIni, "rename", "nul", "C:\\probe\\c.dll");
  write("C:\\probe\\no such folder\\x.ini", "A", "B", "C");
  dumpProfile(p, kIni);
  dumpProfile(p, kNewIni);
}

void version(const Platform& p) {
  tvx::InstallContext ctx;
  bool ok = tvx::classifyOs(ctx, p.system);
  std::printf("version query %s: win95=%d win98=%d win98se=%d winme=%d nt4=%d nt5=%d\n", ok ? "ok" : "failed",
              ctx.isWin95, ctx.isWin98, ctx.isWin98SE, ctx.isWinMe, ctx.isNT4, ctx.isNT5);
}

void find(const Platform& p, const char* pattern) {
  WIN32_FIND_DATAA data;
  std::vector<std::string> names;
  HANDLE h = p.files.FindFirstFileA(pattern, &data);
  if (h == INVALID_HANDLE_VALUE) {
    std::printf("find %s: none, error %u\n", pattern, static_cast<unsigned>(p.system.GetLastError()));
    return;
  }
  do {
    names.push_back(std::string(data.cFileName) + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : ""));
  } while (p.files.FindNextFileA(h, &data));
  DWORD end = p.system.GetLastError();
  p.files.FindClose(h);
  std::sort(names.begin(), names.end());
  std::printf("find %s: end error %u:", pattern, static_cast<unsigned>(end));
  for (const auto& n : names) std::printf(" %s", n.c_str());
  std::printf("\n");
}

void files(const Platform& p) {
  for (const char* pattern :
       {"C:\\probe\\find\\*.*", "C:\\probe\\find\\*.INF", "C:\\probe\\find\\TV*.INF", "C:\\probe\\find\\oem*.INF",
        "C:\\probe\\find\\sub\\*.*", "C:\\probe\\find\\*.xyz", "C:\\probe\\missing\\*.*", "C:\\probe\\find\\b.INF",
        "C:\\probe\\find\\NOEXT.*", "C:\\probe\\find\\*"}) {
    find(p, pattern);
  }

  auto report = [&](const char* what, BOOL ok) {
    std::printf("%s: %s", what, ok ? "ok" : "failed");
    if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
    std::printf("\n");
  };
  // The copy test files are one-line INI files, so that their content reads back through the platform.
  auto content = [&](const char* path) {
    char value[64];
    p.profiles.GetPrivateProfileStringA("copy", "content", "(none)", value, sizeof(value), path);
    std::printf("content of %s: \"%s\"\n", path, value);
  };
  const char* src = "C:\\probe\\copy\\src.txt";
  const char* ro = "C:\\probe\\copy\\readonly.txt";
  report("make read-only", p.files.SetFileAttributesA(ro, FILE_ATTRIBUTE_READONLY));
  std::printf("read-only attribute: %u\n",
              static_cast<unsigned>(p.files.GetFileAttributesA(ro) & FILE_ATTRIBUTE_READONLY));
  report("copy onto read-only", p.files.CopyFileA(src, ro, FALSE));
  content(ro);
  report("delete read-only", p.files.DeleteFileA(ro));
  report("clear attributes", p.files.SetFileAttributesA(ro, FILE_ATTRIBUTE_NORMAL));
  report("copy onto cleared", p.files.CopyFileA(src, ro, FALSE));
  content(ro);
  report("copy fail-if-exists", p.files.CopyFileA(src, ro, TRUE));
  report("copy missing source", p.files.CopyFileA("C:\\probe\\copy\\none.txt", "C:\\probe\\copy\\x.txt", FALSE));
  report("copy into missing folder", p.files.CopyFileA(src, "C:\\probe\\nofolder\\x.txt", FALSE));
  report("delete missing", p.files.DeleteFileA("C:\\probe\\copy\\none.txt"));
  report("create folder", p.files.CreateDirectoryA("C:\\probe\\made"));
  report("create folder again", p.files.CreateDirectoryA("C:\\probe\\made"));
  report("create folder below missing", p.files.CreateDirectoryA("C:\\probe\\nofolder\\deeper"));

  report("set current to missing", p.files.SetCurrentDirectoryA("C:\\probe\\missing"));
  report("set current below missing", p.files.SetCurrentDirectoryA("C:\\probe\\missing\\deeper"));
  report("set current to a file", p.files.SetCurrentDirectoryA(src));
  report("set current", p.files.SetCurrentDirectoryA("C:\\probe\\find\\sub"));
  char cwd[MAX_PATH];
  DWORD n = p.files.GetCurrentDirectoryA(MAX_PATH, cwd);
  std::printf("current directory: %u \"%s\"\n", static_cast<unsigned>(n), cwd);
  std::printf("relative file opens: %d\n", p.files.CanOpenForReading("x.txt") ? 1 : 0);
  // Why a file does not open for reading: the program tells a missing file from one it cannot read.
  for (const char* path : {"C:\\probe\\copy\\none.txt", "C:\\probe\\nofolder\\x.txt", "C:\\probe\\find\\sub"}) {
    p.system.SetLastError(0);
    const bool opens = p.files.CanOpenForReading(path);
    std::printf("open %s for reading: %s", path, opens ? "opened" : "failed");
    if (!opens) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
    std::printf("\n");
  }
}

void registry(const Platform& p) {
  tvx::IRegistry& reg = p.registry;
  auto rc = [](const char* what, LONG code) { std::printf("%s: %ld\n", what, static_cast<long>(code)); };
  HKEY top = nullptr;
  DWORD disposition = 0;
  rc("create probe key", reg.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\TvxProbe\\Deep\\Er", &top, &disposition));
  std::printf("disposition: %u\n", static_cast<unsigned>(disposition));
  reg.RegCloseKey(top);
  rc("create again", reg.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "software\\tvxprobe", &top, &disposition));
  std::printf("disposition: %u\n", static_cast<unsigned>(disposition));
  const std::string longName(80, 'L');
  HKEY sub = nullptr;
  for (const char* name : {"b", "A", "c"}) {
    reg.RegCreateKeyExA(top, name, &sub, nullptr);
    reg.RegCloseKey(sub);
  }
  reg.RegCreateKeyExA(top, longName.c_str(), &sub, nullptr);
  reg.RegCloseKey(sub);
  const char text[] = "Tarvic Inc.";
  rc("set string", reg.RegSetValueExA(top, "ProviderName", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)));
  const BYTE number[4] = {7, 0, 0, 0};
  rc("set dword", reg.RegSetValueExA(top, "Count", REG_DWORD, number, 4));

  std::vector<std::string> names;
  char name[80];
  LONG last = 0;
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof(name);
    last = reg.RegEnumKeyExA(top, i, name, &size);
    if (last != ERROR_SUCCESS) break;
    names.push_back(std::string(name) + "/" + std::to_string(size));
  }
  // Windows 95, 98 and Me list subkeys in the order they were made, Wine always by name: on those
  // systems the names are compared in name order (the simulated machine's order is tested apart).
  tvx::InstallContext family;
  tvx::classifyOs(family, p.system);
  if (family.isWin95 || family.isWin98 || family.isWinMe) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
      });
    });
  }
  std::printf("subkeys with an 80-character buffer, ended by %ld:", static_cast<long>(last));
  for (const auto& n : names) std::printf(" %s", n.c_str());
  std::printf("\n");

  char data[8];
  DWORD size = sizeof(data);
  DWORD type = 0;
  rc("query into 8 bytes", reg.RegQueryValueExA(top, "providername", &type, reinterpret_cast<BYTE*>(data), &size));
  std::printf("type %u, size %u\n", static_cast<unsigned>(type), static_cast<unsigned>(size));
  size = 0;
  rc("query size only", reg.RegQueryValueExA(top, "ProviderName", &type, nullptr, &size));
  std::printf("size %u\n", static_cast<unsigned>(size));
  rc("query missing", reg.RegQueryValueExA(top, "Missing", &type, nullptr, &size));
  DWORD nameSize = 5;
  rc("enum value into a 5-character name", reg.RegEnumValueA(top, 0, name, &nameSize, &type, nullptr, nullptr));
  rc("delete value", reg.RegDeleteValueA(top, "COUNT"));
  rc("delete value again", reg.RegDeleteValueA(top, "Count"));
  rc("delete leaf key", reg.RegDeleteKeyA(top, "a"));
  rc("delete missing key", reg.RegDeleteKeyA(top, "a"));
  rc("open missing key", reg.RegOpenKeyExA(top, "a", 0, KEY_READ, &sub));
  HKEY doomed = nullptr;
  reg.RegOpenKeyExA(top, "b", 0, KEY_READ, &doomed);
  rc("delete an open key", reg.RegDeleteKeyA(top, "b"));
  size = sizeof(data);
  rc("query through the deleted key's handle", reg.RegQueryValueExA(doomed, "x", nullptr, nullptr, &size));
  reg.RegCloseKey(doomed);
  reg.RegCloseKey(top);
}

}  // namespace

bool startProgram(const Platform& p, const char* commandLine, PROCESS_INFORMATION& info) {
  std::vector<char> line(commandLine, commandLine + std::strlen(commandLine) + 1);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  info = {};
  return p.processes.CreateProcessA(nullptr, line.data(), &startup, &info) != FALSE;
}

DWORD waitForEnd(const Platform& p, const PROCESS_INFORMATION& info) {
  DWORD code = STILL_ACTIVE;
  for (int i = 0; i < 200 && p.processes.GetExitCodeProcess(info.hProcess, &code) && code == STILL_ACTIVE; ++i) {
    p.time.Sleep(50);
  }
  p.processes.CloseHandle(info.hThread);
  p.processes.CloseHandle(info.hProcess);
  return code;
}

void runProbe(const Platform& p, tvx::IFileStreams& msvcrt) {
  version(p);
  profiles(p);
  files(p);
  registry(p);
  const Platform crt{p.files,   msvcrt,    p.registry, p.profiles, p.system, p.processes,
                     p.windows, p.devices, p.time,     p.restart,  p.exit,   p.dialogs};
  probeStreams(crt);
  probeBinaryStreams(crt, "msvcrt");
  probeBinaryStreams(p, "own");
  probeCd(p);
  probeDevices(p);
  probePrograms(p);
  probeRunning(p);
  probeFamily(p);
  probeMedium(p);
  probeSameFile(p);
  probeHeld(p);
}
