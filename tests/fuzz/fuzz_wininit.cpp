// Windows' start on any WININIT.INI: the rename queue is carried out or skipped entry by entry,
// and the file is kept as WININIT.BAK.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::FuzzMachine m;
  const std::string text(reinterpret_cast<const char*>(data), size);
  m.write("C:\\WINDOWS\\WININIT.INI", text);
  m.write("C:\\WINDOWS\\Mixer.exe", "old mixer");
  m.write("C:\\WINDOWS\\Mixer.dat", "new mixer");
  m.write("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE", "legacy");
  m.machine.boot();
  if (m.read("C:\\WINDOWS\\WININIT.BAK") != text) std::abort();
  if (m.machine.files.find(*tvx::sim::parseAbsolutePath("C:\\WINDOWS\\WININIT.INI")) != nullptr) std::abort();
  return 0;
}
