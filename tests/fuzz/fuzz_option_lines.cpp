// Both INF option patchers on any INF bytes: the file keeps its length and at most one character
// changes per option line written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzMachine.h"
#include "src/install/InfOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::FuzzMachine m;
  const char* path = "C:\\WINDOWS\\INF\\FUZZ.INF";
  const std::string text(reinterpret_cast<const char*>(data), size);
  m.write(path, text);
  tvx::Platform p = m.platform();
  tvx::FileStream* inf = p.streams.fopen(path, "r+b");
  if (inf == nullptr) std::abort();
  const char* const vxd[] = {"HKR,Config,DISMPU,1,0", "HKR,Config,DISJSTK,1,0", "HKR,Config,LINEINasREAR,1,1",
                             "HKR,Config,LINEINasBASS,1,0", "HKR,Config,MICasBASS,1,0"};
  for (const char* line : vxd) {
    p.streams.fseek(inf, 0, tvx::kSeekSet);
    tvx::PatchInfOptionLine(p, inf, line, '7', 0);
  }
  tvx::PatchWdmOptionLine(p, inf, "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0", '2', 0);
  tvx::PatchWdmOptionLine(p, inf, "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0", '4', 0);
  p.streams.fclose(inf);
  const std::string after = m.read(path);
  if (after.size() != text.size()) std::abort();
  std::size_t changed = 0;
  for (std::size_t i = 0; i < text.size(); ++i) changed += text[i] != after[i] ? 1 : 0;
  if (changed > 7) std::abort();
  return 0;
}
