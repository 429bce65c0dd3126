// A machine folder's machine.ini of any bytes: it loads or names the fault with its line.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "src/platform/sim/Simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // [Drives] names folders of the host, which a fuzzer must not be let loose on (the host's root,
  // its devices): those inputs are left out.
  std::string text(reinterpret_cast<const char*>(data), size);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (text.find("drives") != std::string::npos) return 0;
  static const std::filesystem::path folder = [] {
    char name[] = "/tmp/tvx-fuzz-machine-XXXXXX";
    return std::filesystem::path(mkdtemp(name));
  }();
  std::ofstream(folder / "machine.ini", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  tvx::sim::Machine machine;
  try {
    tvx::sim::loadMachine(machine, folder);
  } catch (const tvx::sim::MachineError& e) {
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}
