// The kernel-streaming patch on any ks.inf, wdmaudio.inf and ksfilter.inf: a second run changes
// nothing, and no line a run did not replace moves or changes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzMachine.h"
#include "src/install/Steps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::FuzzMachine m;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"ks.inf", "wdmaudio.inf", "ksfilter.inf"})
    m.write(std::string("C:\\WINDOWS\\INF\\") + name, text);
  tvx::InstallContext ctx;
  tvx::classifyOs(ctx, m.platform().system);
  tvx::PatchKernelStreamingInfs(ctx, m.platform(), tvx::DriverRunKind::CommandLine, false);
  const std::string once = m.read("C:\\WINDOWS\\INF\\ks.inf");
  // Only lines are replaced: a text without any line of a patched name stays byte for byte.
  if (once != text && once.find(",,,0x00000010\r\n") == std::string::npos) std::abort();
  tvx::PatchKernelStreamingInfs(ctx, m.platform(), tvx::DriverRunKind::CommandLine, false);
  if (m.read("C:\\WINDOWS\\INF\\ks.inf") != once) std::abort();
  if (m.sim.streams().openStreams() != 0) std::abort();
  return 0;
}
