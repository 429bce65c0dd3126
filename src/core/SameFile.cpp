#include "SameFile.h"

#include "Text.h"

namespace tvx {

namespace {

// The short form of a path whose file is there; empty when Windows gives none.
std::string shortFormOf(IFileSystem& files, const std::string& path) {
  char out[MAX_PATH] = {};
  const DWORD n = files.GetShortPathNameA(path.c_str(), out, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(out) : std::string();
}

}  // namespace

bool NameOneFile(IFileSystem& files, const std::string& a, const std::string& b) {
  if (equalsNoCase(a, b)) return true;
  const std::string shortB = shortFormOf(files, b);
  if (shortB.empty()) return false;
  const std::string shortA = shortFormOf(files, a);
  return !shortA.empty() && equalsNoCase(shortA, shortB);
}

}  // namespace tvx
