#include "Invariants.h"

#include "src/cleanup/Cleanup.h"
#include "src/platform/sim/IniText.h"
#include "src/platform/sim/Text.h"
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

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
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

}  // namespace

Snapshot snapshotOf(const sim::Machine& machine) { return Snapshot{machine.files, machine.registry}; }

void InfVersions::record(const sim::Machine& machine) {
  for (const std::string& path : infFiles(machine.files, machine.windowsDir)) {
    versions_[toUpper(path)].insert(fileAt(machine.files, path)->data);
  }
}

const std::set<std::string>* InfVersions::of(const std::string& upperPath) const {
  auto it = versions_.find(upperPath);
  return it == versions_.end() ? nullptr : &it->second;
}

std::set<std::string> changesBetween(const Snapshot& before, const Snapshot& after) {
  std::set<std::string> out;
  for (const auto& c : sim::diffFiles(before.files, after.files)) out.insert("file " + toUpper(c.path));
  for (const auto& c : sim::diffRegistry(before.registry, after.registry)) {
    // A value change is named by its key and value name, a key change by its key.
    const std::string value = c.what.rfind("value", 0) == 0 ? c.detail.substr(0, c.detail.find(' ')) : "";
    out.insert("registry " + toUpper(c.path) + (value.empty() ? "" : " " + toUpper(value)));
  }
  return out;
}

std::vector<std::string> checkRun(const Baseline& baseline, const sim::Machine& machine,
                                  const std::string& windowsDir) {
  std::vector<std::string> broken;
  const Snapshot after = snapshotOf(machine);

  // Nothing changes that the run does not change.
  for (const std::string& change : changesBetween(baseline.before, after)) {
    if (baseline.changed.count(change) == 0) broken.push_back("changed what the run does not change: " + change);
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

  // Every INF in the INF folders is whole: each of its lines is a line that file had during the
  // run without failure, and none is missing from its end.
  for (const std::string& path : infFiles(after.files, windowsDir)) {
    const std::string now = fileAt(after.files, path)->data;
    if (now == contentOf(baseline.before.files, path)) continue;
    const std::set<std::string>* versions = baseline.infVersions.of(toUpper(path));
    if (versions == nullptr) continue;  // not written by the run: the first check reports it
    if (versions->count(now) != 0) continue;
    std::set<std::string> known;
    std::size_t fewest = std::string::npos;
    for (const std::string& v : *versions) {
      const auto lines = linesOf(v);
      known.insert(lines.begin(), lines.end());
      fewest = std::min(fewest, lines.size());
    }
    const auto lines = linesOf(now);
    bool whole = lines.size() >= fewest;
    for (const auto& l : lines) whole = whole && known.count(l) != 0;
    if (!whole) broken.push_back(path + " is left half written");
  }
  return broken;
}

}  // namespace tvx::faults
