#include "MachineFolder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "Text.h"

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

struct Entry {
  std::string key;
  std::string value;
  int line;
};
struct Section {
  std::string name;
  std::vector<Entry> entries;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

[[noreturn]] void fail(int line, const std::string& message) {
  throw MachineError("machine.ini line " + std::to_string(line) + ": " + message);
}

std::vector<Section> parseConfig(const std::string& text) {
  std::vector<Section> sections;
  int number = 0;
  for (std::string raw : split(text, '\n')) {
    ++number;
    // A NUL would cut a folder or file name short where the name reaches the host.
    if (raw.find('\0') != std::string::npos) fail(number, "a NUL byte in the line");
    std::string t = trim(raw);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      if (t.back() != ']') fail(number, "section line without closing ]");
      sections.push_back(Section{trim(t.substr(1, t.size() - 2)), {}});
      continue;
    }
    if (sections.empty()) fail(number, "key=value before the first [section]");
    // Script steps may be a bare word ("close; dialog=102"): the key ends at the first '=' or ';'.
    const bool script = toLower(sections.back().name) == "script";
    auto eq = script ? t.find_first_of("=;") : t.find('=');
    if (eq == std::string::npos && script) eq = t.size();
    if (eq == std::string::npos) fail(number, "expected key=value, found \"" + t + "\"");
    std::string value = eq < t.size() ? t.substr(t[eq] == '=' ? eq + 1 : eq) : "";
    sections.back().entries.push_back(Entry{trim(t.substr(0, eq)), trim(value), number});
  }
  return sections;
}

// "first; name=value; name=value" -> first and the attributes.
std::pair<std::string, std::vector<std::pair<std::string, std::string>>> splitAttributes(const std::string& value) {
  auto parts = split(value, ';');
  std::vector<std::pair<std::string, std::string>> attributes;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string p = trim(parts[i]);
    if (p.empty()) continue;
    auto eq = p.find('=');
    attributes.emplace_back(trim(p.substr(0, eq)), eq == std::string::npos ? "" : trim(p.substr(eq + 1)));
  }
  return {trim(parts[0]), attributes};
}

std::vector<std::string> listOf(const std::string& text) {
  std::vector<std::string> items;
  for (const auto& item : split(text, ',')) {
    if (!trim(item).empty()) items.push_back(trim(item));
  }
  return items;
}

// A count of at most nine digits: what the machine folder's numbers need, and what a DWORD holds.
bool isNumber(const std::string& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

DWORD number(const std::string& text, int line) {
  if (!isNumber(text)) fail(line, "expected a number of at most nine digits, found \"" + text + "\"");
  return static_cast<DWORD>(std::stoul(text));
}

// Durations: "1500", "1500 ms" or "12 s".
DWORD duration(const std::string& text, int line) {
  std::string t = trim(text);
  if (t.size() > 1 && t.back() == 's' && t[t.size() - 2] == 'm') return number(trim(t.substr(0, t.size() - 2)), line);
  if (!t.empty() && t.back() == 's') return number(trim(t.substr(0, t.size() - 1)), line) * 1000;
  return number(t, line);
}

// Lays a host folder into a folder of the machine. What the machine folder already holds (a drive
// laid from [Drives]) is overlaid: a file replaces the one of the same name, a folder adds to it.
// A drive holds at most this many files and folders: a folder named by mistake (the host's root)
// is refused instead of read whole.
constexpr std::size_t kMostEntries = 200000;

void loadFolder(FileNode& node, const fs::path& dir, std::size_t& laid) {
  std::vector<fs::path> entries;
  for (const auto& e : fs::directory_iterator(dir)) entries.push_back(e.path());
  std::sort(entries.begin(), entries.end());
  std::set<std::string> seen;
  for (const auto& p : entries) {
    std::string name = p.filename().string();
    if (!seen.insert(toUpper(name)).second) {
      throw MachineError(p.string() + ": another file has the same name apart from case");
    }
    if (++laid > kMostEntries) {
      throw MachineError(dir.string() + ": more than " + std::to_string(kMostEntries) + " files and folders");
    }
    // A link to a folder is not followed: it could lead back up the tree for ever.
    if (fs::is_symlink(p) && fs::is_directory(p)) continue;
    const bool directory = fs::is_directory(p);
    FileNode* child = node.child(name);
    if (child != nullptr && child->isDirectory != directory) {
      throw MachineError(p.string() + ": a file and a folder of the same name");
    }
    if (child == nullptr) child = &node.addChild(name, directory);
    if (directory) {
      loadFolder(*child, p, laid);
    } else {
      child->data = readFile(p);
    }
  }
}

// Everything on read-only media carries the read-only attribute, folders included.
void markReadOnly(FileNode& node) {
  node.attributes |= FILE_ATTRIBUTE_READONLY;
  for (auto& c : node.children) markReadOnly(*c);
}

void applyAttributes(Machine& machine, const Entry& e) {
  auto path = parseAbsolutePath(e.key);
  FileNode* node = path ? machine.files.find(*path) : nullptr;
  if (node == nullptr) fail(e.line, "no such file \"" + e.key + "\"");
  DWORD a = node->isDirectory ? FILE_ATTRIBUTE_DIRECTORY : 0;
  for (char c : toUpper(e.value)) {
    if (c == 'R')
      a |= FILE_ATTRIBUTE_READONLY;
    else if (c == 'H')
      a |= FILE_ATTRIBUTE_HIDDEN;
    else if (c == 'S')
      a |= FILE_ATTRIBUTE_SYSTEM;
    else if (c == 'A')
      a |= FILE_ATTRIBUTE_ARCHIVE;
    else if (c != ' ')
      fail(e.line, std::string("unknown attribute letter '") + c + "' (R, H, S, A)");
  }
  node->attributes = a;
}

// version=4.10.2222 (major.minor.build, or major.minor with build 0).
void applyVersion(OsVersion& os, const Entry& e) {
  const auto parts = split(e.value, '.');
  if (parts.size() < 2 || parts.size() > 3) fail(e.line, "expected version=major.minor.build, such as 4.10.2222");
  DWORD numbers[3] = {0, 0, 0};
  for (std::size_t i = 0; i < parts.size(); ++i) numbers[i] = number(trim(parts[i]), e.line);
  // The 95 family keeps major and minor in one word of the build number, and the build in the other.
  if (numbers[0] > 255 || numbers[1] > 255) fail(e.line, "major and minor version are at most 255");
  if (numbers[2] > 0xFFFF) fail(e.line, "the build number is at most 65535");
  os.setVersion(numbers[0], numbers[1], numbers[2]);
}

// platform=0|1|2 or win32s|windows|nt: the platform GetVersionExA reports.
void applyPlatform(OsVersion& os, const Entry& e) {
  const std::string v = toLower(e.value);
  DWORD platform = 0;
  if (v == "0" || v == "win32s") {
    platform = VER_PLATFORM_WIN32s;
  } else if (v == "1" || v == "windows") {
    platform = VER_PLATFORM_WIN32_WINDOWS;
  } else if (v == "2" || v == "nt") {
    platform = VER_PLATFORM_WIN32_NT;
  } else {
    fail(e.line, "unknown platform \"" + e.value + "\" (0, 1, 2 or win32s, windows, nt)");
  }
  // The build number keeps its value; only where the 95 family's high word holds the version does it move.
  const DWORD plain = os.plainBuild();
  os.platformId = platform;
  os.setVersion(os.major, os.minor, plain);
}

void applyMachineKey(Machine& machine, const Entry& e, std::string& program, std::string& args, bool& haveCwd,
                     bool& haveModule, bool& haveSystem, bool& havePath, std::set<std::string>& givenDlls) {
  const std::string k = toLower(e.key);
  if (k == "os") {
    auto os = OsVersion::byName(e.value);
    if (!os) fail(e.line, "unknown os \"" + e.value + "\" (win95, win98, win98se, winme, nt40, win2k, winxp)");
    machine.os = *os;
  } else if (k == "version") {
    applyVersion(machine.os, e);
  } else if (k == "platform") {
    applyPlatform(machine.os, e);
  } else if (k == "csd") {
    // Quotes keep the blanks around a text such as 98 SE's " A ".
    std::string csd = e.value;
    if (csd.size() >= 2 && csd.front() == '"' && csd.back() == '"') csd = csd.substr(1, csd.size() - 2);
    if (csd.size() > 127) fail(e.line, "csd is at most 127 characters, as GetVersionExA holds it");
    machine.os.servicePack = csd;
  } else if (k == "windows") {
    if (!parseAbsolutePath(e.value)) fail(e.line, "windows must be a full path");
    machine.windowsDir = e.value;
  } else if (k == "system") {
    machine.systemDir = e.value;
    haveSystem = true;
  } else if (k == "program") {
    program = e.value;
  } else if (k == "args") {
    args = e.value;
  } else if (k == "commandline") {
    machine.commandLine = e.value;
  } else if (k == "cwd") {
    auto p = parseAbsolutePath(e.value);
    if (!p) fail(e.line, "cwd must be a full path");
    machine.currentDir = *p;
    haveCwd = true;
  } else if (k == "module") {
    machine.modulePath = e.value;
    haveModule = true;
  } else if (k == "path") {
    machine.searchPath = e.value;
    havePath = true;
  } else if (k == "cd") {
    if (e.value.size() != 1 || !std::isalpha(static_cast<unsigned char>(e.value[0]))) {
      fail(e.line, "cd must be a drive letter");
    }
    machine.cdDrive = static_cast<char>(std::toupper(static_cast<unsigned char>(e.value[0])));
  } else if (k == "versionfails") {
    machine.versionQueryFails = number(e.value, e.line) != 0;
  } else if (k == "mixers") {
    machine.mixerDevices = number(e.value, e.line);
  } else if (k == "fails") {
    for (const auto& call : listOf(e.value)) machine.failingCalls.insert(call);
  } else if (k == "setupapi" || k == "cfgmgr32") {
    // setupapi=1 gives a Windows 95 the setup API that later Windows and some updates bring;
    // setupapi=0 takes it from any Windows.
    if (e.value != "0" && e.value != "1") fail(e.line, k + " is 1 (the DLL is there) or 0 (it is not)");
    const std::string dll = k + ".dll";
    if (e.value == "1") {
      machine.missingDlls.erase(dll);
    } else {
      machine.missingDlls.insert(dll);
    }
    givenDlls.insert(dll);
  } else if (k == "language") {
    const DWORD language = number(e.value, e.line);
    if (language == 0 || language > 0xFFFF) fail(e.line, "language is a Windows language number such as 1033");
    machine.language = static_cast<WORD>(language);
  } else {
    fail(e.line, "unknown key \"" + e.key + "\" in [Machine]");
  }
}

// The tray's volume icon: bit value 4 of HKCU\...\Applets\Systray "Services", set by Windows
// when an audio device is in place; the other bits stay.
void setTrayVolumeBit(Machine& m) {
  RegKey& key = m.registry.create(m.registry.root(HKEY_CURRENT_USER),
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray");
  const RegValue* old = key.value("Services");
  DWORD bits = 0;
  DWORD type = REG_DWORD;
  if (old != nullptr && old->data.size() == 4) {
    bits = old->data[0] | (old->data[1] << 8) | (old->data[2] << 16) | (static_cast<DWORD>(old->data[3]) << 24);
    type = old->type;
  }
  RegValue v = RegValue::dword("Services", bits | 4);
  v.type = type;
  key.setValue(v);
}

// event=<time>; <what>. The time is "12 s" or "1500 ms" after the program started,
// "reenumeration + 12 s" after the program re-enumerates the device tree, or "copy 12" right
// after the program's twelfth file copy.
void addEventEntry(Machine& machine, const Entry& e, const fs::path& folder) {
  auto parts = split(e.value, ';');
  if (parts.size() < 2) fail(e.line, "expected event=<time>; <what>");
  std::string when = trim(parts[0]);
  bool afterReenumeration = false;
  std::size_t afterCopy = 0;
  DWORD at = 0;
  if (startsWithI(when, "reenumeration")) {
    afterReenumeration = true;
    when = trim(when.substr(std::string("reenumeration").size()));
    if (when.empty() || when[0] != '+') fail(e.line, "expected \"reenumeration + <time>\"");
    when = trim(when.substr(1));
    at = duration(when, e.line);
  } else if (startsWithI(when, "copy")) {
    afterCopy = number(trim(when.substr(4)), e.line);
    if (afterCopy == 0) fail(e.line, "copies are counted from 1: expected \"copy <number>\"");
  } else {
    at = duration(when, e.line);
  }
  std::string what = trim(parts[1]);
  auto eq = what.find('=');
  std::string verb = toLower(trim(what.substr(0, eq)));
  std::string arg = eq == std::string::npos ? "" : trim(what.substr(eq + 1));
  Machine* m = &machine;
  std::function<void()> action;
  if (verb == "mixers") {
    UINT count = number(arg, e.line);
    action = [m, count] { m->mixerDevices = count; };
  } else if (verb == "open") {
    auto pieces = split(arg, '|');
    std::string title = trim(pieces[0]);
    std::string cls = pieces.size() > 1 ? trim(pieces[1]) : "";
    action = [m, title, cls] { m->windows.push_back(Window{title, cls, false, true}); };
  } else if (verb == "close") {
    action = [m, arg] {
      for (auto& w : m->windows) {
        if (w.open && (iequals(w.title, arg) || iequals(w.className, arg))) w.open = false;
      }
    };
  } else if (verb == "import") {
    const fs::path file = folder / arg;
    if (!fs::exists(file)) fail(e.line, "no such file \"" + arg + "\" in the machine folder");
    std::string text = readFile(file);
    RegistryTree check;
    importRegFile(check, text, arg);  // faults show when the machine is loaded, not when the event fires
    action = [m, text, arg] { importRegFile(m->registry, text, arg); };
  } else if (verb == "traybit") {
    if (!iequals(arg, "on")) fail(e.line, "expected traybit=on");
    action = [m] { setTrayVolumeBit(*m); };
  } else if (verb == "eject" || verb == "insert") {
    // The medium of a drive (the CD) taken out, and put back with the same files.
    if (arg.size() != 1 || !std::isalpha(static_cast<unsigned char>(arg[0]))) fail(e.line, "expected a drive letter");
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(arg[0])));
    const bool eject = verb == "eject";
    action = [m, letter, eject] {
      if (eject) {
        m->drivesWithoutMedium.insert(letter);
      } else {
        m->drivesWithoutMedium.erase(letter);
      }
    };
  } else {
    fail(e.line, "unknown event \"" + verb + "\" (mixers, open, close, import, traybit, eject, insert)");
  }
  if (afterCopy != 0) {
    machine.afterCopies.emplace(afterCopy, TimedEvent{0, what, action});
  } else if (afterReenumeration) {
    machine.afterReenumeration.push_back(TimedEvent{at, what, action});
  } else {
    machine.addEvent(at, what, action);
  }
}

const char* const kScriptSteps = "message, click, key, sysmenu, close, minimize";

ScriptStep scriptStep(const Entry& e) {
  const std::string kind = toLower(e.key);
  auto [value, attributes] = splitAttributes(e.value);
  ScriptStep step{kind, value, e.line, 0, {}};
  if (kind == "click") {
    if (!isNumber(value[0] == '-' ? value.substr(1) : value)) {
      fail(e.line, "click names a control by its number, found \"" + value + "\"");
    }
  } else if (kind == "key") {
    static const char* const keys[] = {"Return", "Escape", "Space", "Tab"};
    bool known = false;
    for (const char* k : keys) known = known || iequals(value, k);
    if (!known) fail(e.line, "unknown key \"" + value + "\" (Return, Escape, Space, Tab)");
  } else if (kind == "sysmenu") {
    if (!iequals(value, "about") && !iequals(value, "close") && !isNumber(value)) {
      fail(e.line, "unknown system menu item \"" + value + "\" (about, close, or a command number)");
    }
  } else if (kind == "close" || kind == "minimize") {
    if (!value.empty()) fail(e.line, kind + " takes no value");
  } else if (kind != "message") {
    fail(e.line, "unknown script step \"" + e.key + "\" (" + kScriptSteps + ")");
  }
  for (const auto& [k, v] : attributes) {
    if (iequals(k, "after")) {
      step.delay = duration(v, e.line);
    } else if (iequals(k, "dialog") && kind != "message") {
      step.dialog = v;
    } else {
      fail(e.line, "unknown script attribute \"" + k + "\" (after" + (kind != "message" ? ", dialog)" : ")"));
    }
  }
  return step;
}

}  // namespace

void loadMachine(Machine& machine, const fs::path& folder) {
  if (!fs::is_directory(folder)) throw MachineError("not a folder");
  const fs::path ini = folder / "machine.ini";
  if (!fs::exists(ini)) throw MachineError("machine.ini: missing");
  const auto sections = parseConfig(readFile(ini));

  // [Drives] D=<folder>: a drive laid from a folder elsewhere (relative to the machine folder),
  // such as a CD tree shared by several machines; drives/D then adds to it or replaces its files.
  for (const auto& s : sections) {
    if (toLower(s.name) != "drives") continue;
    for (const auto& e : s.entries) {
      if (e.key.size() != 1 || !std::isalpha(static_cast<unsigned char>(e.key[0]))) {
        fail(e.line, "a drive is named by one letter, found \"" + e.key + "\"");
      }
      const fs::path source = folder / e.value;
      if (!fs::is_directory(source)) fail(e.line, "no such folder \"" + e.value + "\"");
      if (machine.files.drive(e.key[0]) != nullptr) fail(e.line, "drive " + e.key + " is named twice");
      {
        std::size_t laid = 0;
        loadFolder(machine.files.addDrive(e.key[0]), source, laid);
      }
    }
  }
  fs::path drives = folder / "drives";
  if (fs::is_directory(drives)) {
    for (const auto& d : fs::directory_iterator(drives)) {
      std::string letter = d.path().filename().string();
      if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])) || !d.is_directory()) {
        throw MachineError(d.path().string() + ": a drive folder is named by one letter");
      }
      {
        std::size_t laid = 0;
        loadFolder(machine.files.addDrive(letter[0]), d.path(), laid);
      }
    }
  }
  if (machine.files.drive('C') == nullptr) machine.files.addDrive('C');
  fs::path reg = folder / "registry.reg";
  if (fs::exists(reg)) importRegFile(machine.registry, readFile(reg), "registry.reg");

  std::string program = "D:\\SETUP.EXE";
  std::string args;
  bool haveCwd = false;
  bool haveModule = false;
  bool haveSystem = false;
  bool haveMachine = false;
  bool havePath = false;
  std::set<std::string> givenDlls;
  for (const auto& s : sections) {
    const std::string name = toLower(s.name);
    if (name == "machine") {
      haveMachine = true;
      for (const auto& e : s.entries)
        applyMachineKey(machine, e, program, args, haveCwd, haveModule, haveSystem, havePath, givenDlls);
    }
  }
  if (!haveMachine) throw MachineError("machine.ini: no [Machine] section");
  // Windows 95 as it ships has neither the setup API nor the configuration manager's DLL.
  for (const char* dll : {"setupapi.dll", "cfgmgr32.dll"}) {
    if (givenDlls.count(dll) == 0 && machine.os.name == "win95") machine.missingDlls.insert(dll);
  }
  if (!haveSystem) machine.systemDir = machine.windowsDir + (machine.os.isWindows9x() ? "\\SYSTEM" : "\\SYSTEM32");
  // PATH as AUTOEXEC.BAT sets it on the Windows 95 family, and as NT sets it.
  if (!havePath) {
    machine.searchPath = machine.os.isWindows9x() ? machine.windowsDir + ";" + machine.windowsDir + "\\COMMAND"
                                                  : machine.systemDir + ";" + machine.windowsDir;
  }
  // Every Windows has its Windows and system folders.
  if (machine.files.find(machine.windowsPath()) == nullptr) machine.files.makeDirectories(machine.windowsPath());
  if (auto system = parseAbsolutePath(machine.systemDir); system && machine.files.find(*system) == nullptr) {
    machine.files.makeDirectories(*system);
  }

  for (const auto& s : sections) {
    const std::string name = toLower(s.name);
    for (const auto& e : s.entries) {
      const std::string key = toLower(e.key);
      if (name == "machine") continue;
      if (name == "script") {
        machine.script.push_back(scriptStep(e));
      } else if (name == "events") {
        if (key != "event") fail(e.line, "expected event=<time>; <what>");
        addEventEntry(machine, e, folder);
      } else if (name == "devices") {
        if (key != "device") fail(e.line, "expected device=<instance id>; ids=...");
        auto [id, attributes] = splitAttributes(e.value);
        Device d;
        d.instanceId = id;
        for (const auto& [k, v] : attributes) {
          if (iequals(k, "ids"))
            d.hardwareIds = listOf(v);
          else if (iequals(k, "removal") && iequals(v, "fails"))
            d.removalFails = true;
          else if (iequals(k, "present"))
            d.present = v != "0";
          else
            fail(e.line, "unknown device attribute \"" + k + "\" (ids, removal=fails, present)");
        }
        machine.devices.push_back(d);
      } else if (name == "windows") {
        if (key != "window") fail(e.line, "expected window=<title>; class=...");
        auto [title, attributes] = splitAttributes(e.value);
        Window w{title, "", false, true};
        std::string windowProgram;
        for (const auto& [k, v] : attributes) {
          if (iequals(k, "class"))
            w.className = v;
          else if (iequals(k, "close") && iequals(v, "refuses"))
            w.refusesClose = true;
          else if (iequals(k, "program"))
            windowProgram = v;
          else
            fail(e.line, "unknown window attribute \"" + k + "\" (class, close=refuses, program)");
        }
        machine.windows.push_back(w);
        if (!windowProgram.empty()) {
          // The window's program is running when the setup starts, until its window is closed.
          auto path = parseAbsolutePath(windowProgram);
          if (!path) fail(e.line, "program must be a full path");
          Process running;
          running.commandLine = windowProgram;
          running.program = path->str();
          running.behaviour.runsUntilClosed = true;
          running.windows.push_back(machine.windows.size() - 1);
          machine.processes.push_back(running);
        }
      } else if (name == "programs") {
        if (key != "program") fail(e.line, "expected program=<path>; runs=...");
        auto [path, attributes] = splitAttributes(e.value);
        ProgramBehaviour b;
        for (const auto& [k, v] : attributes) {
          if (iequals(k, "runs") && iequals(v, "until closed"))
            b.runsUntilClosed = true;
          else if (iequals(k, "runs"))
            b.runsFor = duration(v, e.line);
          else if (iequals(k, "idle"))
            b.idleAfter = duration(v, e.line);
          else if (iequals(k, "exit"))
            b.exitCode = number(v, e.line);
          else if (iequals(k, "opens"))
            b.opensWindows = listOf(v);
          else if (iequals(k, "closes"))
            b.closesWindows = listOf(v);
          else if (iequals(k, "console"))
            b.console = v != "0";
          else
            fail(e.line, "unknown program attribute \"" + k + "\" (runs, idle, exit, opens, closes, console)");
        }
        machine.programs[toUpper(path)] = b;
      } else if (name == "attributes") {
        applyAttributes(machine, e);
      } else if (name == "registry") {
        if (key != "undeletable") fail(e.line, "expected undeletable=<key>");
        machine.undeletableKeys.insert(e.value);
      } else if (name == "drives") {
        continue;  // laid above
      } else {
        fail(e.line, "unknown section [" + s.name + "]");
      }
    }
  }

  if (FileNode* cd = machine.files.drive(machine.cdDrive)) {
    for (auto& c : cd->children) markReadOnly(*c);
  }

  auto programPath = resolvePath(program, machine.currentDir);
  if (!haveCwd && programPath) machine.currentDir = programPath->parent();
  if (!haveModule) machine.modulePath = programPath ? programPath->str() : program;
  if (machine.commandLine.empty()) {
    std::string quoted = program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
    machine.commandLine = args.empty() ? quoted : quoted + " " + args;
  }
}

bool loadMachineOrReport(Machine& machine, const fs::path& folder, const char* program) {
  try {
    loadMachine(machine, folder);
    return true;
  } catch (const MachineError& e) {
    std::fprintf(stderr, "%s: %s: %s\n", program, folder.string().c_str(), e.what());
    return false;
  }
}

namespace {

void saveFolder(const FileNode& node, const fs::path& dir, const std::string& winPath, std::string& attributes) {
  fs::create_directories(dir);
  for (const auto& c : node.children) {
    std::string childPath = winPath + "\\" + c->name;
    DWORD plain = c->isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (c->attributes != plain) {
      std::string letters;
      if (c->attributes & FILE_ATTRIBUTE_READONLY) letters += 'R';
      if (c->attributes & FILE_ATTRIBUTE_HIDDEN) letters += 'H';
      if (c->attributes & FILE_ATTRIBUTE_SYSTEM) letters += 'S';
      if (c->attributes & FILE_ATTRIBUTE_ARCHIVE) letters += 'A';
      attributes += childPath + "=" + letters + "\n";
    }
    if (c->isDirectory) {
      saveFolder(*c, dir / c->name, childPath, attributes);
    } else {
      std::ofstream(dir / c->name, std::ios::binary) << c->data;
    }
  }
}

}  // namespace

void saveMachine(const Machine& machine, const fs::path& source, const fs::path& folder) {
  std::string original = readFile(source / "machine.ini");
  if (fs::exists(folder / "drives")) fs::remove_all(folder / "drives");
  fs::create_directories(folder);
  std::string attributes;
  for (char letter : machine.files.driveLetters()) {
    saveFolder(*machine.files.drive(letter), folder / "drives" / std::string(1, letter), std::string(1, letter) + ":",
               attributes);
  }
  std::ofstream(folder / "registry.reg", std::ios::binary) << exportRegFile(machine.registry);
  // The files that machine.ini names (registry files of its events) go along.
  if (!fs::equivalent(source, folder)) {
    for (const auto& entry : fs::directory_iterator(source)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name == "machine.ini" || name == "registry.reg") continue;
      fs::copy_file(entry.path(), folder / name, fs::copy_options::overwrite_existing);
    }
  }

  // machine.ini: the sections that describe the present state are written anew.
  std::string kept;
  bool skipping = false;
  for (const std::string& raw : split(original, '\n')) {
    std::string t = trim(raw);
    if (!t.empty() && t[0] == '[') {
      std::string name = toLower(trim(t.substr(1, t.find(']') - 1)));
      skipping = name == "attributes" || name == "devices" || name == "windows" || name == "drives";
    }
    if (!skipping) kept += raw + "\n";
  }
  while (kept.size() >= 2 && kept.substr(kept.size() - 2) == "\n\n") kept.pop_back();
  std::string out = kept;
  if (!attributes.empty()) out += "\n[Attributes]\n" + attributes;
  if (!machine.devices.empty()) {
    out += "\n[Devices]\n";
    for (const auto& d : machine.devices) {
      std::string ids;
      for (const auto& id : d.hardwareIds) ids += (ids.empty() ? "" : ", ") + id;
      out += "device=" + d.instanceId + "; ids=" + ids + (d.removalFails ? "; removal=fails" : "") +
             (d.present ? "" : "; present=0") + "\n";
    }
  }
  bool anyWindow = false;
  for (const auto& w : machine.windows) {
    if (!w.open || w.className == "#32770") continue;
    if (!anyWindow) out += "\n[Windows]\n";
    anyWindow = true;
    std::string program;
    for (const auto& p : machine.processes) {
      const std::size_t index = static_cast<std::size_t>(&w - machine.windows.data());
      if (!p.ended && p.behaviour.runsUntilClosed &&
          std::find(p.windows.begin(), p.windows.end(), index) != p.windows.end()) {
        program = "; program=" + p.program;
      }
    }
    out += "window=" + w.title + (w.className.empty() ? "" : "; class=" + w.className) +
           (w.refusesClose ? "; close=refuses" : "") + program + "\n";
  }
  std::ofstream(folder / "machine.ini", std::ios::binary) << out;
}

}  // namespace tvx::sim
