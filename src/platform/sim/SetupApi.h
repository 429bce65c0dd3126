// The setup API's installation source list as the simulated machine keeps it.
#pragma once
#include <string>
#include <vector>

#include "RegistryTree.h"

namespace tvx::sim {

std::vector<std::string> installationSources(const RegistryTree& registry);

}  // namespace tvx::sim
