// Path texts as the program forms them: folders end in a backslash.
#pragma once
#include <string>

#include "../platform/ISystemInfo.h"

namespace tvx {

std::string withBackslash(std::string folder);
// The Windows folder and the system folder with their trailing backslash (C:\WINDOWS\); empty when
// Windows does not tell it.
std::string windowsFolder(ISystemInfo& system);
std::string systemFolder(ISystemInfo& system);
// The INF folder of a Windows folder as windowsFolder gives it (C:\WINDOWS\INF\); empty when that is.
std::string infFolderIn(const std::string& windows);
// The folder of the running module, with its backslash (D:\ for D:\SETUP.EXE); empty when Windows
// does not tell it.
std::string moduleFolder(ISystemInfo& system);
// The program's name: the running module's file name without folder and extension ("Setup").
std::string programName(ISystemInfo& system);

}  // namespace tvx
