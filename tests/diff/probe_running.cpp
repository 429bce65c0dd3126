// A running program's file cannot be overwritten, deleted or opened for writing (its process
// maps it); it can be read, and once the program has ended everything works again.
#include <cstdio>
#include <vector>

#include "probe.h"

namespace {

using tvx::Platform;

const char* const kBusy = "C:\\probe\\run\\Busy.exe";

void report(const Platform& p, const char* what, BOOL ok) {
  std::printf("  %s: %s", what, ok ? "ok" : "failed");
  if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
  std::printf("\n");
}

void open(const Platform& p, const char* mode) {
  p.system.SetLastError(0);
  tvx::FileStream* f = p.streams.fopen(kBusy, mode);
  std::printf("  fopen \"%s\": %s", mode, f != nullptr ? "opened" : "NULL");
  if (f == nullptr) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
  std::printf("\n");
  if (f != nullptr) p.streams.fclose(f);
}

void tryWrites(const Platform& p) {
  open(p, "rb");
  open(p, "r+b");
  open(p, "wb");
  report(p, "copy onto it", p.files.CopyFileA("C:\\probe\\copy\\src.txt", kBusy, FALSE));
  report(p, "copy from it", p.files.CopyFileA(kBusy, "C:\\probe\\run\\BusyCopy.exe", FALSE));
  report(p, "delete it", p.files.DeleteFileA(kBusy));
}

}  // namespace

void probeRunning(const Platform& p) {
  p.files.CopyFileA("C:\\probe\\run\\Window.exe", kBusy, FALSE);
  std::vector<char> line(256);
  std::snprintf(line.data(), line.size(), "%s ProbeBusy", kBusy);
  PROCESS_INFORMATION info;
  if (!startProgram(p, line.data(), info)) {
    std::printf("running program: cannot start, error %u\n", static_cast<unsigned>(p.system.GetLastError()));
    return;
  }
  HWND window = nullptr;
  for (int i = 0; i < 200 && window == nullptr; ++i) {
    window = p.windows.FindWindowExA(nullptr, nullptr, nullptr, "ProbeBusy");
    if (window == nullptr) p.time.Sleep(50);
  }
  DWORD code = 0;
  p.processes.GetExitCodeProcess(info.hProcess, &code);
  std::printf("while %s runs (window %s, %s):\n", kBusy, window != nullptr ? "open" : "missing",
              code == STILL_ACTIVE ? "still active" : "ended");
  tryWrites(p);
  if (window != nullptr) p.windows.SendMessageA(window, WM_CLOSE, 0, 0);
  code = waitForEnd(p, info);
  std::printf("after it ended with %u:\n", static_cast<unsigned>(code));
  tryWrites(p);
}
