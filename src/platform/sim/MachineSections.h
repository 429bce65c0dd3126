// The readers of machine.ini's sections: what each line of a section sets on the machine.
#pragma once
#include <filesystem>
#include <set>
#include <string>

#include "Machine.h"
#include "MachineIni.h"

namespace tvx::sim {

// What [Machine] gave beside the machine's own fields: the defaults the load then fills in.
struct MachineKeys {
  std::string program = "D:\\SETUP.EXE";
  std::string args;
  bool haveCwd = false;
  bool haveModule = false;
  bool haveSystem = false;
  bool havePath = false;
  std::set<std::string> givenDlls;  // setupapi=/cfgmgr32= given
};

void readMachineKey(Machine& machine, const Entry& e, MachineKeys& keys);

// The readers of the sections read after [Machine] and [Drives], one line each.
void readScriptEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);
void readEventEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);
void readDeviceEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);
void readWindowEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);
void readProgramEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);
void readAttributesEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);
void readRegistryEntry(Machine& machine, const Entry& e, const std::filesystem::path& folder);

}  // namespace tvx::sim
