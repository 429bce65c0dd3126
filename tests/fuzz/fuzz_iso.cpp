// The disc image reader on any bytes: it reads the image under each set of names or names the
// fault; what it read fits in the image, and lays into a drive of well-formed names.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "src/platform/sim/Simulator.h"

namespace {

void checkNames(const tvx::sim::FileNode& folder) {
  for (const auto& c : folder.children) {
    if (c->name.empty() || c->name == "." || c->name == ".." || c->name.find('\\') != std::string::npos) std::abort();
    if (folder.child(c->name) == nullptr) std::abort();
    checkNames(*c);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string image(reinterpret_cast<const char*>(data), size);
  using tvx::sim::DiscNames;
  for (DiscNames names : {DiscNames::Windows, DiscNames::Primary, DiscNames::RockRidge}) {
    try {
      for (const auto& e : tvx::sim::discEntries(image, names)) {
        if (e.data.size() > image.size() || (e.isDirectory && !e.data.empty())) std::abort();
      }
    } catch (const tvx::sim::MachineError&) {
    }
  }
  tvx::sim::FileTree tree;
  try {
    tvx::sim::layDiscImage(tree.addDrive('D'), image);
  } catch (const tvx::sim::MachineError&) {
    return 0;
  }
  checkNames(*tree.drive('D'));
  return 0;
}
