// A simulated machine built in a test, with helpers to lay files and registry keys.
#pragma once
#include <string>

#include "src/platform/sim/Simulator.h"

namespace tvx::test {

struct SimMachine {
  sim::Machine machine;
  sim::SimPlatform sim{machine};

  explicit SimMachine(const char* os = "win98se") {
    machine.os = *sim::OsVersion::byName(os);
    machine.files.addDrive('C');
    machine.files.addDrive('D');
    // Every Windows has its INF folder.
    machine.files.makeDirectories(*sim::parseAbsolutePath(machine.windowsDir + "\\INF"));
  }

  Platform platform() { return sim.platform(); }

  void file(const std::string& path, const std::string& data = "x") {
    auto p = *sim::parseAbsolutePath(path);
    machine.files.makeDirectories(p.parent());
    machine.files.writeFile(p, data);
  }
  // A program file: Windows starts only files that begin with "MZ".
  void program(const std::string& path) { file(path, "MZ program"); }
  bool exists(const std::string& path) const { return machine.files.find(*sim::parseAbsolutePath(path)) != nullptr; }
  std::string content(const std::string& path) const {
    auto* node = machine.files.find(*sim::parseAbsolutePath(path));
    return node != nullptr ? node->data : std::string("(missing)");
  }
  void registry(const std::string& regText) {
    sim::importRegFile(machine.registry, "REGEDIT4\r\n\r\n" + regText, "test");
  }
  bool hasKey(HKEY root, const std::string& path) {
    return machine.registry.find(machine.registry.root(root), path) != nullptr;
  }
  std::vector<sim::Happening> happenings(const std::string& kind) const {
    std::vector<sim::Happening> out;
    for (const auto& h : machine.log) {
      if (h.kind == kind) out.push_back(h);
    }
    return out;
  }
};

}  // namespace tvx::test
