// The plain files a folder search finds, and what the program takes for an INF file.
#pragma once
#include <string>
#include <vector>

#include "../platform/Platform.h"

namespace tvx {

// FindFirstFileA/FindNextFileA over the pattern until either fails: the long names of the entries
// that are not folders, in the order the calls return them. Sub-folders are never entered.
std::vector<std::string> plainFilesOf(IFileSystem& files, const std::string& pattern);

// The same, and whether the search ran to its end: a search that stopped on an error other than
// "no more files" (or found nothing for an error other than "no such file or folder") left names
// out.
struct FolderListing {
  std::vector<std::string> names;
  bool whole = true;
};
FolderListing listPlainFiles(const Platform& platform, const std::string& pattern);

// A file is there when it can be opened for reading; one that cannot be opened but that Windows
// lists all the same is there too (a later copy of it then fails, and says so).
bool FileIsThere(IFileSystem& files, const std::string& path);

// What opening a file for reading tells of it: it is there; Windows has no such file; or it could
// not be opened for another reason (no disc in the drive, a read error, refused), which says
// nothing of whether the file is there.
enum class Presence { There, Missing, Unreadable };
Presence PresenceOf(const Platform& platform, const std::string& path);

// A package file is an INF file when ".inf" or ".INF" stands anywhere in its name (so
// "DRIVER.Inf" is not one, "TV.INF.BAK" is).
bool isInfName(const std::string& name);

}  // namespace tvx
