// Where Setup.exe starts. The program does without a C runtime DLL (Windows 95 has no
// msvcrt.dll): this start runs the constructors of the static objects, then WinMain with the
// command line after the program's name, then the functions given to atexit (the destructors of
// the static objects among them), and ends the process with WinMain's result.
#include <windows.h>

extern "C" {
using StaticFunction = void (*)();
extern StaticFunction __CTOR_LIST__[];  // the linker's list: -1, the constructors, 0
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
int atexit(StaticFunction function);
[[noreturn]] void exit(int code);
[[noreturn]] void abort();
[[noreturn]] void WinMainCRTStartup();
}

namespace {

// Enough for the program's few static objects; one more is refused, as atexit may refuse.
constexpr int kMaxAtExit = 32;
StaticFunction g_atExit[kMaxAtExit];
int g_atExitCount = 0;

void runConstructors() {
  int count = 0;
  while (__CTOR_LIST__[count + 1] != nullptr) ++count;
  // In the order gcc's own start runs them: from the end of the list.
  for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

// The command line without the program's name, as the C runtime hands it to WinMain: the name
// may be quoted, and the blanks after it are skipped.
LPSTR argumentsOf(LPSTR line) {
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (static_cast<unsigned char>(*line) > ' ') ++line;
  }
  while (*line != '\0' && static_cast<unsigned char>(*line) <= ' ') ++line;
  return line;
}

}  // namespace

extern "C" int atexit(StaticFunction function) {
  if (g_atExitCount == kMaxAtExit) return -1;
  g_atExit[g_atExitCount++] = function;
  return 0;
}

extern "C" void exit(int code) {
  while (g_atExitCount > 0) g_atExit[--g_atExitCount]();
  ::ExitProcess(static_cast<UINT>(code));
}

// The exit code msvcrt's abort gives.
extern "C" void abort() { ::ExitProcess(3); }

extern "C" void WinMainCRTStartup() {
  STARTUPINFOA startup;
  startup.cb = sizeof(startup);
  ::GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  runConstructors();
  exit(WinMain(::GetModuleHandleA(nullptr), nullptr, argumentsOf(::GetCommandLineA()), show));
}
