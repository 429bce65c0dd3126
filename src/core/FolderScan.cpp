#include "FolderScan.h"

namespace tvx {

std::vector<std::string> plainFilesOf(IFileSystem& files, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = files.FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(data.cFileName);
  } while (files.FindNextFileA(find, &data));
  files.FindClose(find);
  return names;
}

FolderListing listPlainFiles(const Platform& platform, const std::string& pattern) {
  FolderListing listing;
  IFileSystem& files = platform.files;
  WIN32_FIND_DATAA data;
  HANDLE find = files.FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = platform.system.GetLastError();
    listing.whole = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    return listing;
  }
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) listing.names.emplace_back(data.cFileName);
  } while (files.FindNextFileA(find, &data));
  listing.whole = platform.system.GetLastError() == ERROR_NO_MORE_FILES;
  files.FindClose(find);
  return listing;
}

bool FileIsThere(IFileSystem& files, const std::string& path) {
  if (files.CanOpenForReading(path.c_str())) return true;
  const DWORD attributes = files.GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Presence PresenceOf(const Platform& platform, const std::string& path) {
  if (platform.files.CanOpenForReading(path.c_str())) return Presence::There;
  return platform.system.GetLastError() == ERROR_FILE_NOT_FOUND ? Presence::Missing : Presence::Unreadable;
}

bool isInfName(const std::string& name) {
  return name.find(".inf") != std::string::npos || name.find(".INF") != std::string::npos;
}

}  // namespace tvx
