#include <cstdlib>

#include "Win32Platform.h"

namespace tvx::win32 {

void Time::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
DWORD Time::SleepEx(DWORD milliseconds, BOOL alertable) { return ::SleepEx(milliseconds, alertable); }
DWORD Time::GetTickCount() { return ::GetTickCount(); }
BOOL Restart::ExitWindowsEx(UINT flags, DWORD reason) { return ::ExitWindowsEx(flags, reason); }
void ProcessExit::exitProcess(int code) { std::exit(code); }

}  // namespace tvx::win32
