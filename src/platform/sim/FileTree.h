// The drives of the simulated machine: a tree of directories and files held in memory,
// with names compared without regard to case and 8.3 short names made the Windows way.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../WinTypes.h"
#include "Paths.h"

namespace tvx::sim {

struct FileNode {
  std::string name;
  std::string shortName;
  bool isDirectory = false;
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
  FILETIME written{};  // when it was last written (a CD's files carry their image's dates)
  std::string data;
  std::vector<std::unique_ptr<FileNode>> children;   // in the order they were made, as a FAT folder holds them
  std::unordered_map<std::string, FileNode*> index;  // the children by long and short name in upper case

  FileNode* child(std::string_view childName) const;  // by long or short name
  FileNode& addChild(const std::string& childName, bool directory);
  void removeChild(const FileNode* node);
  DWORD findAttributes() const;  // what FindFirstFileA reports
};

// The Windows short name for `longName` in a directory where `taken` tells the names in use.
std::string makeShortName(const std::string& longName, const std::function<bool(const std::string&)>& taken);

class FileTree {
 public:
  FileNode& addDrive(char letter);
  FileNode* drive(char letter) const;
  std::vector<char> driveLetters() const;

  FileNode* find(const WinPath& path) const;
  // Creates the missing directories along the path; the path's drive must exist.
  FileNode* makeDirectories(const WinPath& path);
  // Writes a file, creating it (and nothing above it) when missing. Null when the folder is missing.
  FileNode* writeFile(const WinPath& path, const std::string& data);

  FileTree() = default;
  FileTree(const FileTree& other);
  FileTree& operator=(const FileTree& other);

 private:
  std::map<char, std::unique_ptr<FileNode>> drives_;
};

}  // namespace tvx::sim
