// The resources of Setup.exe as windres compiles them from src/ui/*.rc, for the simulated machine.
#pragma once
#include <vector>

#include "ResFile.h"

namespace tvx::sim {

const std::vector<ResEntry>& programResources();

}  // namespace tvx::sim
