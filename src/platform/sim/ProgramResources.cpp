#include "ProgramResources.h"

#include <cstddef>

extern const unsigned char kSetupRes[];
extern const std::size_t kSetupResSize;

namespace tvx::sim {

const std::vector<ResEntry>& programResources() {
  static const std::vector<ResEntry> entries = parseResFile(kSetupRes, kSetupResSize);
  return entries;
}

}  // namespace tvx::sim
