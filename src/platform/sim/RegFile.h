// Registry files: REGEDIT4 and "Windows Registry Editor Version 5.00" read, REGEDIT4 written.
#pragma once
#include <stdexcept>
#include <string>

#include "RegistryTree.h"

namespace tvx::sim {

// A machine folder file that cannot be read; the message names the file and the line.
class MachineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Applies a .reg file to the tree, as regedit imports it. `fileName` names the file in errors.
void importRegFile(RegistryTree& tree, const std::string& content, const std::string& fileName);
std::string exportRegFile(const RegistryTree& tree);

}  // namespace tvx::sim
