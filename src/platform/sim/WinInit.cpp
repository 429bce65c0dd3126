// What Windows 95, 98 and Me do at start, before Windows runs: the [rename] section of
// WININIT.INI carried out in order, the file then kept as WININIT.BAK.
#include "IniText.h"
#include "Machine.h"
#include "Text.h"

namespace tvx::sim {

namespace {

// WININIT.INI is carried out before Windows starts, where only the 8.3 names are known.
FileNode* findByShortNames(const FileTree& tree, const WinPath& path) {
  FileNode* node = tree.drive(path.drive);
  for (const auto& part : path.parts) {
    if (node == nullptr || !node->isDirectory) return nullptr;
    FileNode* next = nullptr;
    for (const auto& c : node->children) {
      if (iequals(c->shortName, part)) next = c.get();
    }
    node = next;
  }
  return node;
}

}  // namespace

std::vector<std::string> Machine::boot() {
  std::vector<std::string> done;
  if (!os.isWindows9x()) return done;
  WinPath iniPath = windowsPath();
  iniPath.parts.push_back("WININIT.INI");
  FileNode* ini = files.find(iniPath);
  if (ini == nullptr || ini->isDirectory) return done;
  const std::string queue = ini->data;  // an entry may move or delete the file itself
  IniText text(queue);
  for (const auto& [destination, source] : text.entries("rename")) {
    auto src = parseAbsolutePath(source);
    FileNode* srcNode = src ? findByShortNames(files, *src) : nullptr;
    if (srcNode == nullptr || srcNode->isDirectory) {
      done.push_back("skipped " + destination + "=" + source + " (no such file)");
      continue;
    }
    FileNode* srcFolder = findByShortNames(files, src->parent());
    if (iequals(destination, "NUL")) {
      srcFolder->removeChild(srcNode);
      done.push_back("deleted " + source);
      continue;
    }
    auto dst = parseAbsolutePath(destination);
    FileNode* dstFolder = dst ? findByShortNames(files, dst->parent()) : nullptr;
    if (dstFolder == nullptr || dst->parts.empty()) {
      done.push_back("skipped " + destination + "=" + source + " (no such folder)");
      continue;
    }
    FileNode* old = dstFolder->child(dst->leaf());
    if (old != nullptr && old->isDirectory) {
      done.push_back("skipped " + destination + "=" + source + " (the destination is a folder)");
      continue;
    }
    std::string data = srcNode->data;
    DWORD attributes = srcNode->attributes;
    srcFolder->removeChild(srcNode);
    if ((old = dstFolder->child(dst->leaf())) != nullptr) dstFolder->removeChild(old);
    FileNode& moved = dstFolder->addChild(dst->leaf(), false);
    moved.data = data;
    moved.attributes = attributes;
    done.push_back("moved " + source + " to " + destination);
  }
  // Windows keeps the processed file as WININIT.BAK.
  FileNode* windowsFolder = files.find(windowsPath());
  if (windowsFolder == nullptr || !windowsFolder->isDirectory) return done;
  if (FileNode* processed = windowsFolder->child("WININIT.INI"); processed != nullptr && !processed->isDirectory) {
    windowsFolder->removeChild(processed);
  }
  FileNode* bak = windowsFolder->child("WININIT.BAK");
  if (bak != nullptr && bak->isDirectory) return done;
  if (bak == nullptr) bak = &windowsFolder->addChild("WININIT.BAK", false);
  bak->data = queue;
  return done;
}

}  // namespace tvx::sim
