#include "Invariants.h"

#include "src/cleanup/Cleanup.h"
#include "src/platform/sim/Simulator.h"
#include "tools/tvxsim/Diff.h"

namespace tvx::faults {

namespace {

using sim::FileNode;
using sim::iequals;
using sim::toUpper;

const FileNode* fileAt(const sim::FileTree& tree, const std::string& path) {
  auto p = sim::parseAbsolutePath(path);
  const FileNode* node = p ? tree.find(*p) : nullptr;
  return node != nullptr && !node->isDirectory ? node : nullptr;
}

std::string contentOf(const sim::FileTree& tree, const std::string& path) {
  const FileNode* node = fileAt(tree, path);
  return node != nullptr ? node->data : std::string("(none)");
}

// The INF files of the INF folder and INF\OTHER, by full path.
std::vector<std::string> infFiles(const sim::FileTree& tree, const std::string& windowsDir) {
  std::vector<std::string> paths;
  for (const std::string& folder : {windowsDir + "\\INF", windowsDir + "\\INF\\OTHER"}) {
    auto p = sim::parseAbsolutePath(folder);
    const FileNode* node = p ? tree.find(*p) : nullptr;
    if (node == nullptr || !node->isDirectory) continue;
    for (const auto& child : node->children) {
      const std::string& name = child->name;
      if (!child->isDirectory && name.size() > 4 && iequals(name.substr(name.size() - 4), ".inf")) {
        paths.push_back(folder + "\\" + name);
      }
    }
  }
  return paths;
}

std::vector<std::string> runPrograms(const sim::FileTree& tree, const std::string& windowsDir) {
  sim::IniText ini(contentOf(tree, windowsDir + "\\WIN.INI"));
  std::vector<std::string> programs;
  for (const auto& p : sim::split(ini.get("windows", "run").value_or(""), ' ')) {
    for (const auto& q : sim::split(p, ',')) {
      if (!sim::trim(q).empty()) programs.push_back(toUpper(sim::trim(q)));
    }
  }
  return programs;
}

// Where the setup program writes in one flow or another: a failure may turn a run to another way
// of the program (a setup.ini value read as its default, a fallback folder), which writes there
// too. Everything else must stay as it was.
bool mayWrite(const std::string& change, const std::string& windowsDir) {
  const std::string windows = "FILE " + toUpper(windowsDir) + "\\";
  const char* const files[] = {"INF\\",        "WININIT.INI",  "WININIT.BAK",    "WIN.INI",
                               "MIXERDEF.INI", "TVCDPLAY.INI", "TVXSETUP.INI",   "MIXER.DAT",
                               "MIXER.EXE",    "MIXER.OLD",    "OPTIONS\\CABS\\"};
  const std::string upper = toUpper(change);
  for (const char* f : files) {
    if (upper.rfind(windows + f, 0) == 0) return true;
  }
  const char* const elsewhere[] = {
      "FILE C:\\PROGRAM FILES",  // the install folders
      "REGISTRY HKEY_LOCAL_MACHINE\\ENUM\\",
      "REGISTRY HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\CLASS\\MEDIA",
      "REGISTRY HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\CONTROL\\MEDIARESOURCES\\",
      "REGISTRY HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\SPATIAL",
      "REGISTRY HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\CLSID\\{5A17C3E2-0B4D-4F8A-9C61-2D7E8B3F4A90}",
      "REGISTRY HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\CLSID\\{3B6F04A2-91C7-4D5E-A83B-5C20E7F19D46}",
      "REGISTRY HKEY_LOCAL_MACHINE\\SOFTWARE\\ASIO",
      "REGISTRY HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SETUP \"INSTALLATION SOURCES\"",
      "REGISTRY HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN \"TARVIC SOUND SUITE\"",
      "REGISTRY HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APPLETS\\SYSTRAY \"SERVICES\"",
      "REGISTRY HKEY_USERS\\.DEFAULT\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APPLETS\\SYSTRAY \"SERVICES\"",
      "REGISTRY HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\MULTIMEDIA\\AUDIO \"DEFAULTFORMAT\"",
      "REGISTRY HKEY_USERS\\.DEFAULT\\SOFTWARE\\MICROSOFT\\MULTIMEDIA\\AUDIO \"DEFAULTFORMAT\""};
  for (const char* e : elsewhere) {
    if (upper.rfind(e, 0) == 0) return true;
  }
  return false;
}

}  // namespace

Snapshot snapshotOf(const sim::Machine& machine) { return Snapshot{machine.files, machine.registry}; }

Changes changesBetween(const Snapshot& before, const Snapshot& after) {
  Changes out;
  const auto parentOf = [](const std::string& path) {
    std::string p = path;
    if (!p.empty() && p.back() == '\\') p.pop_back();
    return p.substr(0, p.rfind('\\'));
  };
  for (const auto& c : sim::diffFiles(before.files, after.files)) {
    out["file " + toUpper(c.path)] = ChangeSeen{c.what == "added", "file " + toUpper(parentOf(c.path))};
  }
  for (const auto& c : sim::diffRegistry(before.registry, after.registry)) {
    // A value change is named by its key and value name, a key change by its key.
    const bool value = c.what.rfind("value", 0) == 0;
    // The value's name stands first in the detail, in quotes (or @ for the default value).
    const std::size_t nameEnd = c.detail[0] == '"' ? c.detail.find('"', 1) + 1 : c.detail.find(' ');
    const std::string name = value ? " " + toUpper(c.detail.substr(0, nameEnd)) : "";
    const bool created =
        c.what == "key added" || (c.what == "value set" && c.detail.find(" (was ") == std::string::npos);
    const std::string place = value ? toUpper(c.path) : toUpper(parentOf(c.path));
    out["registry " + toUpper(c.path) + name] = ChangeSeen{created, "registry " + place};
  }
  return out;
}

void describeBaseline(Baseline& baseline) {
  baseline.changed = changesBetween(baseline.before, baseline.after);
  for (const auto& [what, seen] : baseline.changed) {
    if (seen.created) baseline.placesCreatedIn.insert(seen.place);
  }
}

std::vector<std::string> checkRun(const Baseline& baseline, const sim::Machine& machine,
                                  const std::string& windowsDir) {
  std::vector<std::string> broken;
  const Snapshot after = snapshotOf(machine);

  // Nothing that was there changes unless the run changes it; what a failure makes the run put
  // elsewhere goes where the run puts things anyway.
  for (const auto& [change, seen] : changesBetween(baseline.before, after)) {
    if (baseline.changed.count(change) != 0) continue;
    if (seen.created && baseline.placesCreatedIn.count(seen.place) != 0) continue;
    if (mayWrite(change, windowsDir)) continue;
    broken.push_back(std::string(seen.created ? "made what the run does not make: " : "changed what was there: ") +
                     change);
  }

  // Windows' own INF files: as they were, or patched whole.
  for (const char* name : {"ks.inf", "wdmaudio.inf", "ksfilter.inf"}) {
    const std::string path = windowsDir + "\\INF\\" + name;
    const std::string now = contentOf(after.files, path);
    if (now != contentOf(baseline.before.files, path) && now != contentOf(baseline.after.files, path)) {
      broken.push_back(std::string(name) + " is neither as it was nor patched whole");
    }
  }

  // The other programs of the run entry stay.
  const std::vector<std::string> kept = runPrograms(after.files, windowsDir);
  for (const std::string& program : runPrograms(baseline.before.files, windowsDir)) {
    if (RemoveLegacyRunPrograms(program) == " ") continue;  // an earlier driver's program
    bool found = false;
    for (const auto& k : kept) found = found || k == program;
    if (!found) broken.push_back("the run entry lost " + program);
  }

  // No INF in the INF folders is left as a full disk cut it short.
  for (const std::string& path : infFiles(after.files, windowsDir)) {
    auto cut = machine.writesCutShort.find(toUpper(path));
    if (cut != machine.writesCutShort.end() && cut->second == fileAt(after.files, path)->data) {
      broken.push_back(path + " is left half written");
    }
  }
  return broken;
}

}  // namespace tvx::faults
