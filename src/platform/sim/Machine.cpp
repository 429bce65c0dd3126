#include "Machine.h"

#include <cctype>

#include "IniText.h"
#include "Text.h"

namespace tvx::sim {

std::string Happening::field(const std::string& name) const {
  for (const auto& f : fields) {
    if (f.first == name) return f.second;
  }
  return {};
}

Machine::Machine() {
  os = *OsVersion::byName("win98se");
  currentDir = *parseAbsolutePath("C:\\");
}

void Machine::record(const std::string& kind, std::vector<std::pair<std::string, std::string>> fields) {
  log.push_back(Happening{now, kind, std::move(fields)});
}

HWND Machine::addOwnWindow(const std::string& title, bool visible) {
  windows.push_back(Window{title, "#32770", false, true, visible});
  return windowHandle(windows.size() - 1);
}

Window* Machine::windowOf(HWND window) {
  auto index = reinterpret_cast<std::uintptr_t>(window) / 0x10;
  if (window == nullptr || index == 0 || index > windows.size()) return nullptr;
  return &windows[index - 1];
}

bool Machine::injectFault(const char* call) {
  if (!faults.count(call)) return false;
  record("fault", {{"call", call}, {"number", std::to_string(faults.calls)}});
  return true;
}

std::optional<ScriptStep> Machine::takeScriptStep(const std::string& kind) {
  if (scriptPosition < script.size() && script[scriptPosition].kind == kind) return script[scriptPosition++];
  return std::nullopt;
}

std::optional<ScriptStep> Machine::takeDialogStep(int templateId, const std::string& title) {
  if (scriptPosition >= script.size() || !script[scriptPosition].isDialogAction()) return std::nullopt;
  const ScriptStep& step = script[scriptPosition];
  if (!step.dialog.empty() && step.dialog != std::to_string(templateId) && !iequals(step.dialog, title)) {
    return std::nullopt;
  }
  return script[scriptPosition++];
}

bool Machine::hasMedium(char drive) const {
  return drivesWithoutMedium.count(static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))) == 0;
}

FileNode* Machine::fileAt(const WinPath& path) const { return hasMedium(path.drive) ? files.find(path) : nullptr; }

WinPath Machine::windowsPath() const { return *parseAbsolutePath(windowsDir); }

void Machine::asked(std::string what) {
  if (sleepAwaitingQuestion && *sleepAwaitingQuestion < log.size()) {
    log[*sleepAwaitingQuestion].fields.emplace_back("then", what);
  }
  sleepAwaitingQuestion.reset();
  lastQuery = std::move(what);
}

void Machine::openFile(const WinPath& path, bool writing) {
  OpenCount& c = openFiles[toUpper(path.str())];
  ++(writing ? c.writers : c.readers);
}

void Machine::closeFile(const WinPath& path, bool writing) {
  auto it = openFiles.find(toUpper(path.str()));
  if (it == openFiles.end()) return;
  --(writing ? it->second.writers : it->second.readers);
  if (it->second.readers <= 0 && it->second.writers <= 0) openFiles.erase(it);
}

OpenCount Machine::openCount(const WinPath& path) const {
  auto it = openFiles.find(toUpper(path.str()));
  return it == openFiles.end() ? OpenCount{} : it->second;
}

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
