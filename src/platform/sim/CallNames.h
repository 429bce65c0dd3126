// The names Windows' headers give the numbers a program hands to WinExec, CreateProcessA and
// ExitWindowsEx, as the reports show them.
#pragma once
#include <string>

#include "../WinTypes.h"

namespace tvx::sim {

// "SW_SHOW"; a number Windows does not name stays a number.
std::string showStateName(UINT show);
// "STARTF_USESHOWWINDOW | STARTF_USESIZE"; "0" when no flag is set.
std::string startupFlagNames(DWORD flags);
// "EWX_REBOOT | EWX_FORCE"; "EWX_LOGOFF" for 0.
std::string exitWindowsFlagNames(UINT flags);

}  // namespace tvx::sim
