// Stand-in for the separate Windows 2000/XP installer: writes down the command line it was
// started with, one line per start, in C:\peers.log, and ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (FILE* log = std::fopen("C:\\peers.log", "ab")) {
    std::fprintf(log, "W2KSetup|%s|%s\r\n", module, GetCommandLineA());
    std::fclose(log);
  }
  return 0;
}
