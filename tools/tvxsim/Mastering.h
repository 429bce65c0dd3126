// What mastering did to a CD: the image as Windows reads it against what it was made from (the
// folder, where the release engineer names it, else the image's own Rock Ridge names). A file the
// program looks for that Windows cannot see on the disc is a fault of the mastering, not of the
// CD's contents, and is named as such.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

struct Mastering {
  std::string image;  // the image file
  DiscInfo disc;
  std::string madeFrom;  // "the folder DIR", "its Rock Ridge names", or empty when nothing tells
  // Each file of what the image was made from that Windows does not see under its name, in words
  // ("W95-98\drv\95\TVAUDIO.INF is not on the disc as Windows reads it: the image has no Joliet
  // names, and its primary names are W95_98\DRV\95\TVAUDIO.INF"), with the path it was made as.
  std::vector<std::pair<std::string, std::string>> lost;
  // With the folder: every file whose content differs, or that is only on the disc.
  std::vector<std::string> differences;

  // The mastering fault behind a row's reason: the lost file the reason names (or whose folder
  // it names), else the first lost file; empty when mastering lost nothing.
  std::string behind(const std::string& reason) const;
  bool faulty() const { return !lost.empty() || !differences.empty(); }
};

// Reads the image as Windows reads it and holds it to the folder it was made from, when given.
// Throws MachineError on an image that cannot be read.
Mastering checkMastering(const std::filesystem::path& image, const std::optional<std::filesystem::path>& folder);

}  // namespace tvx::sim
