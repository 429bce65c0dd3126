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

struct DriverCd : SimMachine {
  InstallContext ctx;

  explicit DriverCd(const char* os = "win98se") : SimMachine(os) {
    classifyOs(ctx, platform().system);
    ctx.sourceDir = "D:\\";
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\WINDOWS\\INF"));
  }

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
  // The sleeps of the run of the given length.
  std::size_t sleeps(DWORD ms) const {
    std::size_t n = 0;
    for (const auto& h : machine.log) n += h.kind == "sleep" && h.field("ms") == std::to_string(ms) ? 1 : 0;
    return n;
  }
  std::string shortInstallDir(const char* folder) {
    char out[MAX_PATH] = {};
    platform().files.GetShortPathNameA(folder, out, MAX_PATH);
    return out;
  }
};

}  // namespace tvx::test
