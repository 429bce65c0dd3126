// The folder the program was started from: the CD's root, or the download's folder.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

// The folder of the program path as started, with the current folder as help, ending in a
// backslash; the folder of the running module when the path cannot tell it or the version of
// Windows is not known (where Windows does not tell the module's, the path's folder or else the
// current folder).
std::string sourceDirOf(const std::string& programPath, bool versionKnown, const Platform& platform);
// The same, asking Windows its version first, as each dialog that stages from the folder does.
std::string sourceDirOf(const std::string& programPath, const Platform& platform);

}  // namespace tvx
