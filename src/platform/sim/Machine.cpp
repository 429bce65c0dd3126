#include "Machine.h"

#include <cctype>

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

}  // namespace tvx::sim
