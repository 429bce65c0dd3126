// One file named two ways: by its long path, in other case and by its short path. The short names
// of the ways agree, and a copy of the file onto itself by any of them fails and leaves the file as
// it was. The error code is printed on the NT family only: the 95 family answers ERROR_FILE_EXISTS
// where Windows NT answers ERROR_SHARING_VIOLATION, and Wine answers as NT whatever version it
// plays (the simulator's unit tests hold each family's code).
#include <cctype>
#include <cstdio>
#include <string>

#include "../../src/core/InstallContext.h"
#include "probe.h"

namespace {

using tvx::Platform;

std::string shortOf(const Platform& p, const std::string& path) {
  char out[MAX_PATH] = {};
  const DWORD n = p.files.GetShortPathNameA(path.c_str(), out, MAX_PATH);
  return n > 0 && n < MAX_PATH ? out : "";
}

bool sameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

void probeSameFile(const Platform& p) {
  const std::string file = "C:\\probe\\Same Folder\\Long File Name.ini";
  const std::string upper = "C:\\PROBE\\SAME FOLDER\\LONG FILE NAME.INI";
  const std::string shortPath = shortOf(p, file);
  tvx::InstallContext family;
  tvx::classifyOs(family, p.system);
  const bool nt = family.isNT4 || family.isNT5;
  std::printf("one file named two ways:\n");
  std::printf("  short path found: %s\n", shortPath.empty() ? "no" : "yes");
  std::printf("  short path differs from the long one: %s\n", sameText(shortPath, file) ? "no" : "yes");
  std::printf("  short paths of the long, upper-case and short ways agree: %s\n",
              sameText(shortOf(p, upper), shortPath) && sameText(shortOf(p, shortPath), shortPath) ? "yes" : "no");
  for (const auto& [way, target] : {std::pair<const char*, std::string>{"its own path", file},
                                    {"its upper-case path", upper},
                                    {"its short path", shortPath}}) {
    p.system.SetLastError(0);
    const BOOL copied = p.files.CopyFileA(file.c_str(), target.c_str(), FALSE);
    const DWORD error = p.system.GetLastError();
    std::printf("  copy onto itself by %s: %s", way, copied ? "ok" : "failed");
    if (!copied && nt) std::printf(", error %u", static_cast<unsigned>(error));
    char value[32];
    p.profiles.GetPrivateProfileStringA("copy", "content", "(none)", value, sizeof(value), file.c_str());
    std::printf("; content \"%s\"\n", value);
  }
}
