// A small simulated Windows 98 SE machine for the fuzz targets: a C drive with the Windows folder,
// its INF folders, and the file the target feeds.
#pragma once
#include <string>

#include "src/platform/sim/Simulator.h"

namespace tvx::fuzz {

struct FuzzMachine {
  sim::Machine machine;
  sim::SimPlatform sim{machine};

  FuzzMachine() {
    machine.os = *sim::OsVersion::byName("win98se");
    machine.files.addDrive('C');
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\WINDOWS\\INF\\OTHER"));
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\WINDOWS\\SYSTEM"));
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W95-98"));
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  }
  Platform platform() { return sim.platform(); }
  void write(const std::string& path, const std::string& data) {
    machine.files.writeFile(*sim::parseAbsolutePath(path), data);
  }
  std::string read(const std::string& path) const {
    const sim::FileNode* node = machine.files.find(*sim::parseAbsolutePath(path));
    return node != nullptr ? node->data : std::string();
  }
};

}  // namespace tvx::fuzz
