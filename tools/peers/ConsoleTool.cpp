// Stand-in for a console program (no window, no message queue): it runs for the milliseconds
// given on its command line, 1000 by default, and ends with exit code 0.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Sleep(argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : 1000);
  return 0;
}
