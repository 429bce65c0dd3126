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

bool isInfName(const std::string& name) {
  return name.find(".inf") != std::string::npos || name.find(".INF") != std::string::npos;
}

}  // namespace tvx
