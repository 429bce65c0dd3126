// The filter of WIN.INI's run entry on any text: every other program stays, in its order, and
// no earlier driver's program is left.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "src/cleanup/Cleanup.h"

namespace {
std::vector<std::string> programsOf(const std::string& run) {
  std::vector<std::string> out;
  std::size_t pos = run.find_first_not_of(" ,\t");
  while (pos != std::string::npos) {
    const std::size_t end = run.find_first_of(" ,\t", pos);
    out.push_back(run.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    pos = end == std::string::npos ? end : run.find_first_not_of(" ,\t", end);
  }
  return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string run(reinterpret_cast<const char*>(data), size);
  const std::string kept = tvx::RemoveLegacyRunPrograms(run);
  if (kept.empty()) std::abort();
  std::vector<std::string> expected;
  for (const std::string& program : programsOf(run)) {
    if (tvx::RemoveLegacyRunPrograms(program) != " ") expected.push_back(program);
  }
  if (programsOf(kept) != expected) std::abort();
  if (expected.empty() && kept != " ") std::abort();
  return 0;
}
