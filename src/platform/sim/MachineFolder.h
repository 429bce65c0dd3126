// A simulated machine kept on disk as a folder: machine.ini, registry.reg and drives/<letter>/.
#pragma once
#include <filesystem>
#include <string>

#include "Machine.h"
#include "RegFile.h"

namespace tvx::sim {

// Reads a machine folder. Throws MachineError naming the file and line of any fault.
void loadMachine(Machine& machine, const std::filesystem::path& folder);
// The same for a command: a fault is printed as "program: folder: message" and gives false.
bool loadMachineOrReport(Machine& machine, const std::filesystem::path& folder, const char* program);
// Writes the machine's present state to a folder: its files, registry, attributes, devices and
// open windows, with the rest of machine.ini (script, events, programs) taken from `source`.
void saveMachine(const Machine& machine, const std::filesystem::path& source, const std::filesystem::path& folder);

}  // namespace tvx::sim
