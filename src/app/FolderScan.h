// The plain files a folder search finds, and what the program takes for an INF file.
#pragma once
#include <string>
#include <vector>

#include "../platform/IFileSystem.h"

namespace tvx {

// FindFirstFileA/FindNextFileA over the pattern until either fails: the long names of the entries
// that are not folders, in the order the calls return them. Sub-folders are never entered.
std::vector<std::string> plainFilesOf(IFileSystem& files, const std::string& pattern);

// A package file is an INF file when ".inf" or ".INF" stands anywhere in its name (so
// "DRIVER.Inf" is not one, "TV.INF.BAK" is).
bool isInfName(const std::string& name);

}  // namespace tvx
