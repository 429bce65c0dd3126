// What a run changed on a machine: files, INI entries and registry, before against after.
#pragma once
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

struct Change {
  std::string what;  // "added", "removed", "changed", "attributes"
  std::string path;  // file path, or registry key
  std::string detail;
  std::vector<std::string> entries;  // for INI files: one line per section or key changed
  std::vector<std::string> lines;    // for other text files: "- old line" and "+ new line"
  std::string content = {};          // an added or changed file's content after the run (not shown)
};

std::vector<Change> diffFiles(const FileTree& before, const FileTree& after);
std::vector<Change> diffRegistry(const RegistryTree& before, const RegistryTree& after);

}  // namespace tvx::sim
