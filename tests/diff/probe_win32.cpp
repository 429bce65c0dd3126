// The probe on real Windows.
#include <cstring>

#include "../../src/platform/win32/Win32Platform.h"
#include "CrtStreams.h"
#include "probe.h"

namespace {
std::size_t g_linesSeen = 0;
}

// The stand-ins write "Name|module path|..." to C:\peers.log when they start; the newest line
// names the copy that ran. Waits up to ten seconds for it.
std::string programThatRan(const tvx::Platform& p) {
  for (int wait = 0; wait < 200; ++wait) {
    std::string last;
    std::size_t lines = 0;
    if (tvx::FileStream* f = p.streams.fopen("C:\\peers.log", "rb")) {
      char line[1024];
      while (p.streams.fgets(line, sizeof(line), f) != nullptr) {
        ++lines;
        last = line;
      }
      p.streams.fclose(f);
    }
    if (lines > g_linesSeen) {
      g_linesSeen = lines;
      const auto first = last.find('|');
      const auto second = last.find('|', first + 1);
      return first == std::string::npos ? last : last.substr(first + 1, second - first - 1);
    }
    p.time.Sleep(50);
  }
  return {};
}

// The test maps drive E: to the folder that holds the CD's folder ("cd"), which drive D: stands for:
// renamed, the drive has nothing behind it, as a drive without its disc.
void takeOutCd(const tvx::Platform& p) { p.files.MoveFileA("E:\\cd", "E:\\cd-out"); }
void putBackCd(const tvx::Platform& p) { p.files.MoveFileA("E:\\cd-out", "E:\\cd"); }

namespace {
HANDLE g_held = INVALID_HANDLE_VALUE;
}

void holdFile(const tvx::Platform&, const char* path) {
  g_held = ::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
void releaseFile(const tvx::Platform&, const char*) {
  if (g_held != INVALID_HANDLE_VALUE) ::CloseHandle(g_held);
  g_held = INVALID_HANDLE_VALUE;
}

int main() {
  tvx::win32::Machine machine;
  CrtStreams msvcrt;
  runProbe(machine.platform(), msvcrt);
  return 0;
}
