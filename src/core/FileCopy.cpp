#include "FileCopy.h"

#include "FolderScan.h"
#include "SameFile.h"

namespace tvx {

BOOL CopyFileOver(const Platform& platform, const std::string& source, const std::string& destination,
                  bool clearAfter) {
  IFileSystem& files = platform.files;
  // A file copied onto itself (the package started again from its install folder) is in place
  // already: Windows would refuse the copy, and clearing its attributes would change what is there.
  if (NameOneFile(files, source, destination)) return TRUE;
  files.SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
  const BOOL copied = files.CopyFileA(source.c_str(), destination.c_str(), FALSE);
  if (clearAfter) files.SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
  return copied;
}

void copyFolder(const Platform& platform, const std::string& folder, const std::string& destination) {
  for (const std::string& name : plainFilesOf(platform.files, folder + "*.*")) {
    CopyFileOver(platform, folder + name, destination + name, true);
  }
}

}  // namespace tvx
