#include "MachineFolder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>

#include "DiscImage.h"
#include "MachineIni.h"
#include "MachineSections.h"
#include "Text.h"

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

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

// The sections read after [Machine] and [Drives], each line by its section's reader.
using EntryReader = void (*)(Machine&, const Entry&, const fs::path&);
struct SectionReader {
  const char* name;
  EntryReader read;  // null: the section was read before the others
};
const SectionReader kSectionReaders[] = {
    {"machine", nullptr},
    {"drives", nullptr},
    {"script", readScriptEntry},
    {"events", readEventEntry},
    {"devices", readDeviceEntry},
    {"windows", readWindowEntry},
    {"programs", readProgramEntry},
    {"attributes", readAttributesEntry},
    {"registry", readRegistryEntry},
};

// [Drives] D=<folder>: a drive laid from a folder elsewhere (relative to the machine folder),
// such as a CD tree shared by several machines; drives/D then adds to it or replaces its files.
void layDrives(Machine& machine, const std::vector<Section>& sections, const fs::path& folder) {
  for (const auto& s : sections) {
    if (toLower(s.name) != "drives") continue;
    for (const auto& e : s.entries) {
      if (e.key.size() != 1 || !std::isalpha(static_cast<unsigned char>(e.key[0]))) {
        fail(e.line, "a drive is named by one letter, found \"" + e.key + "\"");
      }
      const fs::path source = folder / e.value;
      const bool image = fs::is_regular_file(source);
      if (!image && !fs::is_directory(source)) fail(e.line, "no such folder or disc image \"" + e.value + "\"");
      if (machine.files.drive(e.key[0]) != nullptr) fail(e.line, "drive " + e.key + " is named twice");
      if (image) {
        // A CD laid from its ISO 9660 image, as Windows reads the disc.
        machine.discs[static_cast<char>(std::toupper(static_cast<unsigned char>(e.key[0])))] =
            layDiscImage(machine.files.addDrive(e.key[0]), source);
      } else {
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
}

// The machine's own keys; throws when there is no [Machine].
MachineKeys readMachineSection(Machine& machine, const std::vector<Section>& sections) {
  MachineKeys keys;
  bool haveMachine = false;
  for (const auto& s : sections) {
    if (toLower(s.name) != "machine") continue;
    haveMachine = true;
    for (const auto& e : s.entries) readMachineKey(machine, e, keys);
  }
  if (!haveMachine) throw MachineError("machine.ini: no [Machine] section");
  return keys;
}

// What the machine has by default where [Machine] did not say otherwise.
void completeMachine(Machine& machine, const MachineKeys& keys) {
  // Windows 95 as it ships has neither the setup API nor the configuration manager's DLL.
  for (const char* dll : {"setupapi.dll", "cfgmgr32.dll"}) {
    if (keys.givenDlls.count(dll) == 0 && machine.os.name == "win95") machine.missingDlls.insert(dll);
  }
  if (!keys.haveSystem) machine.systemDir = machine.windowsDir + (machine.os.isWindows9x() ? "\\SYSTEM" : "\\SYSTEM32");
  // PATH as AUTOEXEC.BAT sets it on the Windows 95 family, and as NT sets it.
  if (!keys.havePath) {
    machine.searchPath = machine.os.isWindows9x() ? machine.windowsDir + ";" + machine.windowsDir + "\\COMMAND"
                                                  : machine.systemDir + ";" + machine.windowsDir;
  }
  // Every Windows has its Windows, INF and system folders.
  WinPath inf = machine.windowsPath();
  inf.parts.push_back("INF");
  if (machine.files.find(inf) == nullptr) machine.files.makeDirectories(inf);
  if (auto system = parseAbsolutePath(machine.systemDir); system && machine.files.find(*system) == nullptr) {
    machine.files.makeDirectories(*system);
  }
}

void readSection(Machine& machine, const Section& s, const fs::path& folder) {
  const std::string name = toLower(s.name);
  for (const SectionReader& reader : kSectionReaders) {
    if (name != reader.name) continue;
    if (reader.read != nullptr) {
      for (const auto& e : s.entries) reader.read(machine, e, folder);
    }
    return;
  }
  if (!s.entries.empty()) fail(s.entries.front().line, "unknown section [" + s.name + "]");
}

// The program as started: its path, the current folder and the module path it gives, and the
// command line.
void placeProgram(Machine& machine, const MachineKeys& keys) {
  auto programPath = resolvePath(keys.program, machine.currentDir);
  if (!keys.haveCwd && programPath) machine.currentDir = programPath->parent();
  if (!keys.haveModule) machine.modulePath = programPath ? programPath->str() : keys.program;
  if (machine.commandLine.empty()) {
    const std::string& program = keys.program;
    std::string quoted = program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
    machine.commandLine = keys.args.empty() ? quoted : quoted + " " + keys.args;
  }
}

}  // namespace

void loadMachine(Machine& machine, const fs::path& folder) {
  if (!fs::is_directory(folder)) throw MachineError("not a folder");
  const fs::path ini = folder / "machine.ini";
  if (!fs::exists(ini)) throw MachineError("machine.ini: missing");
  const auto sections = parseConfig(readFile(ini));
  layDrives(machine, sections, folder);
  if (machine.files.drive('C') == nullptr) machine.files.addDrive('C');
  fs::path reg = folder / "registry.reg";
  if (fs::exists(reg)) importRegFile(machine.registry, readFile(reg), "registry.reg");
  const MachineKeys keys = readMachineSection(machine, sections);
  completeMachine(machine, keys);
  for (const auto& s : sections) readSection(machine, s, folder);
  if (FileNode* cd = machine.files.drive(machine.cdDrive)) {
    for (auto& c : cd->children) markReadOnly(*c);
  }
  placeProgram(machine, keys);
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
