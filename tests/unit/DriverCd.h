// A machine with the driver CD in D:\ and an installation context for it, for the tests of the
// driver installation engine.
#pragma once
#include <string>

#include "SimMachine.h"
#include "src/install/Steps.h"

namespace tvx::test {

constexpr const char* kWdmInf =
    "[Version]\r\nSignature=\"$CHICAGO$\"\r\nProvider=%Tarvic%\r\n\r\n"
    "[SourceDisksNames]\r\n200=\"Tarvic WDM Audio Driver Disk\",,,\\W2K-ME\\drv\r\n\r\n"
    "[SourceDisksFiles]\r\ntvaudio.sys=200\r\n\r\n"
    "[Strings]\r\nTarvic=\"Tarvic\"\r\n";
constexpr const char* kVxdInf =
    "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n[SourceDisksNames]\r\n1=\"Tarvic Driver Disk\",,,\r\n\r\n"
    "[SourceDisksFiles]\r\nTVAUDIO.VXD=1\r\n\r\n"
    "[Strings]\r\nSSC-Legacy.DeviceDesc=\"TVX4400 Legacy Devices\"\r\n";
// The two option lines of the WDM INF; the value digit is character 48.
constexpr const char* kLegacy = "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
constexpr const char* kJack = "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";
constexpr const char* kAnnouncement = "The driver will be installed now. It need a few minutes to complete.";

// The lines, each followed by `end`.
inline std::string joined(std::initializer_list<std::string> lines, const std::string& end) {
  std::string out;
  for (const auto& l : lines) out += l + end;
  return out;
}

struct DriverCd : SimMachine {
  InstallContext ctx = cdContext();

  explicit DriverCd(const char* os = "win98se") : SimMachine(os) {}

  // The CD's two packages, each with an INF, a driver file and its mixer.
  DriverCd& withCdPackages() {
    file("D:\\W2K-ME\\drv\\TVAUDIO.INF", kWdmInf);
    file("D:\\W2K-ME\\drv\\tvaudio.sys", "MZ wdm");
    file("D:\\W2K-ME\\drv\\tvaudio.cat", "catalog");
    file("D:\\W2K-ME\\drv\\Mixer.dat", "MZ wdm mixer");
    for (const char* folder : {"D:\\W95-98\\drv\\98\\", "D:\\W95-98\\drv\\95\\"}) {
      file(std::string(folder) + "TVAUDIO.INF", kVxdInf);
      file(std::string(folder) + "TVAUDIO.VXD", std::string("MZ vxd from ") + folder);
      file(std::string(folder) + "Mixer.dat", "MZ vxd mixer");
    }
    return *this;
  }
  StagedPackage stage(DriverRunKind kind, InfPatcher* patcher = nullptr) {
    return StageDriverPackage(ctx, platform(), kind, patcher);
  }
  // Runs a step that may end the process; true when it did.
  template <typename Step>
  bool endsProcess(Step step) {
    try {
      step();
    } catch (const sim::ProcessExitRequest&) {
      return true;
    }
    return false;
  }
  std::string shortInstallDir(const char* folder) {
    char out[MAX_PATH] = {};
    platform().files.GetShortPathNameA(folder, out, MAX_PATH);
    return out;
  }
};

}  // namespace tvx::test
