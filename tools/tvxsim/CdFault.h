// What of a CD let the person down, in words a release engineer acts on: the file the program
// looked for and did not find, as a path on the CD ("W2K-ME\app\Setup.exe is missing from the
// CD"). The outcome check asks for it where the person was told a file is missing, or where the
// program stopped because one was.
#pragma once
#include <string>

#include "Intent.h"

namespace tvx::sim {

// Each gives empty when the CD holds what the program looked for after all (the CD was out of the
// drive when it looked).
//
// The suite installer the program looked for on this Windows for this family (with the Windows
// 95 family's fallback), missing.
std::string missingSuiteInstaller(const Intent& intent, Family family, const FileTree& before);
// The Windows 2000/XP installer, missing.
std::string missingHandOffInstaller(const Intent& intent, const FileTree& before);
// An installer the CD holds that does not start (no program under that name).
std::string notStarting(const Intent& intent, const std::string& installer);
// The driver package of a family: its folder missing, or holding no file the program takes for
// an INF file.
std::string missingPackage(const Intent& intent, Family family, const FileTree& before);

}  // namespace tvx::sim
