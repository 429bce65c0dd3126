// The .reg reader on any bytes: it reads or names the fault; what it read is written as REGEDIT4
// that reads back to the same registry.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "src/platform/sim/Simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::sim::RegistryTree tree;
  try {
    tvx::sim::importRegFile(tree, std::string(reinterpret_cast<const char*>(data), size), "fuzz.reg");
  } catch (const tvx::sim::MachineError&) {
    return 0;
  }
  const std::string written = tvx::sim::exportRegFile(tree);
  tvx::sim::RegistryTree again;
  tvx::sim::importRegFile(again, written, "written.reg");
  if (tvx::sim::exportRegFile(again) != written) std::abort();
  return 0;
}
