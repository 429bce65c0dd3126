// A simulated machine built in a test, with helpers to lay files and registry keys.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "src/core/InstallContext.h"
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
  // Takes a file or a folder with all it holds away.
  void remove(const std::string& path) {
    auto p = *sim::parseAbsolutePath(path);
    machine.files.find(p.parent())->removeChild(machine.files.find(p));
  }
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
  // A value of the registry, or null where its key or the value is missing.
  const sim::RegValue* value(HKEY root, const std::string& path, const std::string& name) {
    const sim::RegKey* key = machine.registry.find(machine.registry.root(root), path);
    return key != nullptr ? key->value(name) : nullptr;
  }
  // The person's dialog actions, in order: a kind ("click", "key", ...) and its value each.
  void script(std::vector<std::pair<std::string, std::string>> steps) {
    for (const auto& [kind, value] : steps) machine.script.push_back(sim::ScriptStep{kind, value, 0, 0, {}});
  }
  // A context for this machine's Windows, with the CD in D:\.
  InstallContext cdContext() {
    InstallContext ctx;
    classifyOs(ctx, platform().system);
    ctx.sourceDir = "D:\\";
    return ctx;
  }
  std::vector<sim::Happening> happenings(const std::string& kind) const {
    std::vector<sim::Happening> out;
    for (const auto& h : machine.log) {
      if (h.kind == kind) out.push_back(h);
    }
    return out;
  }
  // Fields of each happening of a kind, in order: "text" gives the texts of the messages, say, and
  // "text|owner" each text and owner as one "text | owner".
  std::vector<std::string> fields(const std::string& kind, const std::string& names) const {
    std::vector<std::string> out;
    for (const auto& h : happenings(kind)) {
      std::string these;
      for (std::size_t at = 0;;) {
        const std::size_t bar = names.find('|', at);
        these += h.field(names.substr(at, bar == std::string::npos ? bar : bar - at));
        if (bar == std::string::npos) break;
        these += " | ";
        at = bar + 1;
      }
      out.push_back(these);
    }
    return out;
  }
  // The sleeps of the run of the given length.
  std::size_t sleeps(DWORD ms) const {
    std::size_t n = 0;
    for (const auto& h : machine.log) n += h.kind == "sleep" && h.field("ms") == std::to_string(ms) ? 1 : 0;
    return n;
  }
};

// A machine folder on disk for the test that makes it, removed again at its end.
struct MachineFolder {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("tvx-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());

  MachineFolder() {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~MachineFolder() { std::filesystem::remove_all(dir); }
  // A file of the folder, by its path below it ("drives/D/setup.ini"), with the folders above it.
  void write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories((dir / name).parent_path());
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  void load(sim::Machine& machine) { sim::loadMachine(machine, dir); }
};

}  // namespace tvx::test
