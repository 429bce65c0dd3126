#include "MachineSections.h"

#include <cctype>
#include <functional>

#include "RegFile.h"
#include "Text.h"

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

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

const char* const kScriptSteps = "message, again, click, key, sysmenu, close, minimize";

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

void readMachineKey(Machine& machine, const Entry& e, MachineKeys& keys) {
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
    keys.haveSystem = true;
  } else if (k == "program") {
    keys.program = e.value;
  } else if (k == "args") {
    keys.args = e.value;
  } else if (k == "commandline") {
    machine.commandLine = e.value;
  } else if (k == "cwd") {
    auto p = parseAbsolutePath(e.value);
    if (!p) fail(e.line, "cwd must be a full path");
    machine.currentDir = *p;
    keys.haveCwd = true;
  } else if (k == "module") {
    machine.modulePath = e.value;
    keys.haveModule = true;
  } else if (k == "path") {
    machine.searchPath = e.value;
    keys.havePath = true;
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
  } else if (k == "held") {
    // Files another program holds open without sharing them.
    for (const auto& file : listOf(e.value)) {
      auto p = parseAbsolutePath(file);
      if (!p) fail(e.line, "held names full paths: \"" + file + "\"");
      machine.heldFiles.insert(toUpper(p->str()));
    }
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
    keys.givenDlls.insert(dll);
  } else if (k == "language") {
    const DWORD language = number(e.value, e.line);
    if (language == 0 || language > 0xFFFF) fail(e.line, "language is a Windows language number such as 1033");
    machine.language = static_cast<WORD>(language);
  } else {
    fail(e.line, "unknown key \"" + e.key + "\" in [Machine]");
  }
}

// event=<time>; <what>. The time is "12 s" or "1500 ms" after the program started,
// "reenumeration + 12 s" after the program re-enumerates the device tree, or "copy 12" right
// after the program's twelfth file copy.
void readEventEntry(Machine& machine, const Entry& e, const fs::path& folder) {
  if (toLower(e.key) != "event") fail(e.line, "expected event=<time>; <what>");
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

void readScriptEntry(Machine& machine, const Entry& e, const fs::path&) {
  // again= is no step of its own: it says how the person meets a box that keeps coming back.
  if (iequals(e.key, "again")) {
    static const char* const answers[] = {"OK", "Cancel", "Yes", "No"};
    bool known = false;
    for (const char* a : answers) known = known || iequals(e.value, a);
    if (!known) fail(e.line, "again answers OK, Cancel, Yes or No, found \"" + e.value + "\"");
    machine.answerAgain = e.value;
    return;
  }
  machine.script.push_back(scriptStep(e));
}

void readDeviceEntry(Machine& machine, const Entry& e, const fs::path&) {
  if (toLower(e.key) != "device") fail(e.line, "expected device=<instance id>; ids=...");
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
}

void readWindowEntry(Machine& machine, const Entry& e, const fs::path&) {
  if (toLower(e.key) != "window") fail(e.line, "expected window=<title>; class=...");
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
}

void readProgramEntry(Machine& machine, const Entry& e, const fs::path&) {
  if (toLower(e.key) != "program") fail(e.line, "expected program=<path>; runs=...");
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
}

void readAttributesEntry(Machine& machine, const Entry& e, const fs::path&) {
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

void readRegistryEntry(Machine& machine, const Entry& e, const fs::path&) {
  if (toLower(e.key) != "undeletable") fail(e.line, "expected undeletable=<key>");
  machine.undeletableKeys.insert(e.value);
}

}  // namespace tvx::sim
