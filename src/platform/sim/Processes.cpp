#include <cstdio>
#include <cstring>

#include "CallNames.h"
#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {

const char* const kTrayKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray";

}  // namespace

// Windows' tray program, SysTray.exe of the system folder, reads the tray's "Services" as it
// starts (a second start tells the running one to read it again): bit value 4 puts the volume
// icon up, which holds the mixer device open.
void Processes::trayProgramReads() {
  RegKey* key = m_.registry.find(m_.registry.root(HKEY_CURRENT_USER), kTrayKey);
  const RegValue* services = key != nullptr ? key->value("Services") : nullptr;
  if (services == nullptr || services->data.size() != 4) {
    m_.record("tray", {{"services", "(none)"}, {"volumeIcon", "off"}});
    return;
  }
  const DWORD bits = services->data[0] | (services->data[1] << 8) | (services->data[2] << 16) |
                     (static_cast<DWORD>(services->data[3]) << 24);
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(bits));
  m_.record("tray", {{"services", text}, {"volumeIcon", (bits & 4) != 0 ? "on" : "off"}});
}

// The folders Windows searches for a program named without a folder, in order: the folder of
// the running program, the current folder, the system folder (and on NT the 16-bit one), the
// Windows folder, then PATH.
std::vector<WinPath> Processes::searchFolders() const {
  std::vector<WinPath> folders;
  auto add = [&](const std::string& folder) {
    if (auto p = resolvePath(trim(folder), m_.currentDir)) folders.push_back(*p);
  };
  if (auto module = parseAbsolutePath(m_.modulePath)) folders.push_back(module->parent());
  folders.push_back(m_.currentDir);
  add(m_.systemDir);
  if (!m_.os.isWindows9x()) add(m_.windowsDir + "\\SYSTEM");
  add(m_.windowsDir);
  for (const auto& folder : split(m_.searchPath, ';')) {
    if (!trim(folder).empty()) add(folder);
  }
  return folders;
}

// The file a program name stands for, as SearchPath finds it with ".exe" as the default extension.
std::optional<WinPath> Processes::findProgram(const std::string& name) const {
  auto slash = name.find_last_of("\\/");
  const bool hasExtension = name.find('.', slash == std::string::npos ? 0 : slash) != std::string::npos;
  const std::string file = hasExtension ? name : name + ".exe";
  auto isFile = [&](const WinPath& p) {
    FileNode* node = m_.fileAt(p);
    return node != nullptr && !node->isDirectory;
  };
  if (name.find_first_of("\\/:") != std::string::npos) {
    auto p = files_.resolve(file.c_str());
    if (p && isFile(*p)) return p;
    return std::nullopt;
  }
  for (WinPath folder : searchFolders()) {
    folder.parts.push_back(file);
    if (isFile(folder)) return folder;
  }
  return std::nullopt;
}

long Processes::start(const std::string& commandLine, const char* how, const Fields& parameters) {
  // Find the program as CreateProcessA does: a quoted name is taken whole; an unquoted one is
  // tried at each blank in turn ("E:\Driver" then "E:\Driver CD\W2KSetup.dat").
  std::optional<WinPath> found;
  std::string text = trim(commandLine);
  if (!text.empty() && text[0] == '"') {
    auto close = text.find('"', 1);
    found = findProgram(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  } else {
    for (std::size_t end = 0; end <= text.size() && !found; ++end) {
      if (end == text.size() || text[end] == ' ') found = findProgram(text.substr(0, end));
    }
  }
  auto fields = [&](Fields last) {
    Fields all = {{"how", how}, {"commandLine", commandLine}};
    all.insert(all.end(), last.begin(), last.end());
    all.insert(all.end(), parameters.begin(), parameters.end());
    return all;
  };
  if (!found) {
    // Windows looks for the program first: on a drive without its disc, as anywhere else, a
    // program it cannot find is ERROR_FILE_NOT_FOUND.
    m_.record("start failed", fields({}));
    m_.lastError = ERROR_FILE_NOT_FOUND;
    return -1;
  }
  // Only an executable file (it begins with "MZ") runs.
  if (m_.fileAt(*found)->data.compare(0, 2, "MZ") != 0) {
    m_.record("start failed", fields({{"notAProgram", found->str()}}));
    m_.lastError = ERROR_BAD_EXE_FORMAT;
    return -1;
  }
  std::string program = found->str();
  Process p;
  p.commandLine = commandLine;
  p.program = program;
  p.startedAt = m_.now;
  auto known = m_.programs.find(toUpper(program));
  if (known != m_.programs.end()) p.behaviour = known->second;
  for (const auto& title : p.behaviour.closesWindows) {
    for (auto& w : m_.windows) {
      if (w.open && iequals(w.title, title)) w.open = false;
    }
  }
  for (const auto& title : p.behaviour.opensWindows) {
    m_.windows.push_back(Window{title, "", false, true});
    p.windows.push_back(m_.windows.size() - 1);
  }
  m_.record("start", fields({{"program", program}}));
  m_.processes.push_back(std::move(p));
  WinPath tray = *parseAbsolutePath(m_.systemDir);
  tray.parts.push_back("SysTray.exe");
  if (iequals(program, tray.str())) trayProgramReads();
  m_.advance(0);
  return static_cast<long>(m_.processes.size() - 1);
}

UINT Processes::WinExec(LPCSTR commandLine, UINT show) {
  if (m_.injectFault("WinExec")) return 0;  // out of memory or resources
  if (start(commandLine != nullptr ? commandLine : "", "WinExec", {{"show", showStateName(show)}}) >= 0) return 33;
  // WinExec gives the old codes: 2 for a missing file, 11 for one that is not a program.
  return m_.lastError == ERROR_BAD_EXE_FORMAT ? ERROR_BAD_FORMAT : ERROR_FILE_NOT_FOUND;
}

BOOL Processes::CreateProcessA(LPCSTR application, LPSTR commandLine, STARTUPINFOA* startup,
                               PROCESS_INFORMATION* info) {
  if (m_.injectFault("CreateProcessA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  std::string line = commandLine != nullptr ? commandLine : "";
  if (application != nullptr) line = std::string("\"") + application + "\"" + (line.empty() ? "" : " " + line);
  // The start-up information the program hands over: which of its fields count, and the show state.
  Fields parameters;
  if (startup == nullptr) {
    parameters = {{"startupFlags", "(no start-up information)"}};
  } else {
    parameters = {{"startupFlags", startupFlagNames(startup->dwFlags)}};
    if ((startup->dwFlags & STARTF_USESHOWWINDOW) != 0) {
      parameters.emplace_back("showWindow", showStateName(startup->wShowWindow));
    }
  }
  long index = start(line, "CreateProcessA", parameters);
  if (index < 0) return FALSE;
  std::uintptr_t process = nextHandle_;
  std::uintptr_t thread = nextHandle_ + 4;
  nextHandle_ += 8;
  handles_[process] = static_cast<std::size_t>(index);
  handles_[thread] = static_cast<std::size_t>(index);
  info->hProcess = reinterpret_cast<HANDLE>(process);
  info->hThread = reinterpret_cast<HANDLE>(thread);
  info->dwProcessId = static_cast<DWORD>(index) * 4 + 0x100;
  info->dwThreadId = info->dwProcessId + 1;
  return TRUE;
}

Process* Processes::processOf(HANDLE handle) {
  auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == handles_.end() ? nullptr : &m_.processes[it->second];
}

Process* Processes::waitTarget(const char* call, HANDLE process) {
  if (m_.injectFault(call, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  Process* p = processOf(process);
  if (p == nullptr) m_.lastError = ERROR_INVALID_HANDLE;
  return p;
}

DWORD Processes::WaitForInputIdle(HANDLE process, DWORD milliseconds) {
  Process* p = waitTarget("WaitForInputIdle", process);
  if (p == nullptr) return WAIT_FAILED;
  if (p->behaviour.console) {
    m_.lastError = ERROR_NOT_GUI_PROCESS;
    return WAIT_FAILED;
  }
  if (p->ended) return 0;
  DWORD idleAt = p->startedAt + p->behaviour.idleAfter;
  if (m_.now >= idleAt) return 0;  // idle already: no wait
  DWORD wait = std::min(milliseconds, idleAt - m_.now);
  m_.advance(wait);
  return m_.now >= idleAt ? 0 : WAIT_TIMEOUT;
}

DWORD Processes::WaitForSingleObject(HANDLE process, DWORD milliseconds) {
  Process* p = waitTarget("WaitForSingleObject", process);
  if (p == nullptr) return WAIT_FAILED;
  // Time passes until the program ends or the wait is over, whichever comes first.
  const DWORD until = m_.now + milliseconds;
  while (!p->ended && m_.now < until) {
    const DWORD end = p->behaviour.runsUntilClosed ? until : p->startedAt + p->behaviour.runsFor;
    m_.advance(std::max<DWORD>(1, std::min(until, std::max(end, m_.now)) - m_.now));
    p = processOf(process);
  }
  return p->ended ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL Processes::GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  if (m_.injectFault("GetExitCodeProcess", ERROR_ACCESS_DENIED)) return FALSE;
  Process* p = processOf(process);
  if (p == nullptr) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  *exitCode = p->ended ? p->behaviour.exitCode : STILL_ACTIVE;
  return TRUE;
}

BOOL Processes::CloseHandle(HANDLE handle) {
  if (handles_.erase(reinterpret_cast<std::uintptr_t>(handle)) == 0) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  return TRUE;
}

}  // namespace tvx::sim
