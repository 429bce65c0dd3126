// A file another program holds open without sharing it (here the probe itself, through a handle
// of its own): Windows lists it and gives its attributes, but it does not open for reading, nor
// copy, nor delete, each with ERROR_SHARING_VIOLATION; once let go, it does all of them.
#include <cstdio>

#include "probe.h"

namespace {

using tvx::Platform;

void uses(const Platform& p, const char* file) {
  const auto report = [&](const char* what, bool ok) {
    std::printf("  %s: %s", what, ok ? "ok" : "failed");
    if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
    std::printf("\n");
  };
  const DWORD attributes = p.files.GetFileAttributesA(file);
  std::printf("  attributes: %s\n", attributes == INVALID_FILE_ATTRIBUTES ? "none" : "read");
  WIN32_FIND_DATAA data;
  HANDLE find = p.files.FindFirstFileA("C:\\probe\\held\\*.exe", &data);
  std::printf("  listed: %s\n", find != INVALID_HANDLE_VALUE ? data.cFileName : "no");
  if (find != INVALID_HANDLE_VALUE) p.files.FindClose(find);
  p.system.SetLastError(0);
  report("open for reading", p.files.CanOpenForReading(file));
  p.system.SetLastError(0);
  tvx::FileStream* stream = p.streams.fopen(file, "rb");
  report("fopen \"rb\"", stream != nullptr);
  if (stream != nullptr) p.streams.fclose(stream);
  p.system.SetLastError(0);
  report("copy from it", p.files.CopyFileA(file, "C:\\probe\\held\\copy.ini", FALSE) != FALSE);
  p.system.SetLastError(0);
  report("copy onto it", p.files.CopyFileA("C:\\probe\\copy\\src.txt", file, FALSE) != FALSE);
  p.files.DeleteFileA("C:\\probe\\held\\copy.ini");
}

}  // namespace

void probeHeld(const Platform& p) {
  const char* file = "C:\\probe\\held\\Setup.exe";
  std::printf("a file held without sharing:\n");
  holdFile(p, file);
  uses(p, file);
  std::printf("the file let go:\n");
  releaseFile(p, file);
  uses(p, file);
}
