// The machines the matrix runs a CD on, one for each Windows version: its Windows folder as a
// fresh installation has it, the registry, a TVX4400 card present with an earlier driver of it
// installed, and the world answering the program (the card installed a few seconds after the
// device tree is re-enumerated, the device installer's window, the tray's volume icon).
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace tvx::sim {

// The Windows versions of the matrix, in its order: win95, win98, win98se, winme, nt40, win2k, winxp.
const std::vector<std::string>& matrixVersions();
// "Windows 98 SE" for "win98se".
std::string versionTitle(const std::string& version);

// Writes the built-in machine of a version into `folder` (machine.ini without [Script] and
// without drive D, registry.reg, the card's .reg file and drives/C).
void writeBaseMachine(const std::string& version, const std::filesystem::path& folder);

}  // namespace tvx::sim
