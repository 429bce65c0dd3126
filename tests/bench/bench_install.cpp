// The cost of one full driver installation from the CD in the simulator, on a large machine:
// an INF store of 600 files of which 100 are the maker's, 5,000 registry keys and 300 MEDIA
// class instances, times the scale given. Prints the median CPU time of several runs.
//
//   bench_install MACHINE-FOLDER SCALE [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "src/platform/sim/Simulator.h"
#include "tools/tvxsim/SimRun.h"

namespace {

using tvx::sim::Machine;

std::string vendorInf(int n, bool makers) {
  std::string text = "; INF " + std::to_string(n) + "\r\n[Version]\r\nSignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\n";
  text += "Provider=%Provider%\r\n\r\n[Manufacturer]\r\n%Provider%=Models\r\n\r\n[Models]\r\n";
  for (int i = 0; i < 40; ++i) {
    text += "%Device" + std::to_string(i) + "%=Install" + std::to_string(i) + ",PCI\\VEN_" + std::to_string(1000 + n) +
            "&DEV_" + std::to_string(i) + "\r\n";
  }
  text += "\r\n[Install.AddReg]\r\nHKR,,Driver,,driver.sys\r\nHKR,Config,Setting,1,0\r\n\r\n[Strings]\r\n";
  text += makers ? "SSC-Legacy.DeviceDesc=\"TVX4400 Legacy Devices\"\r\nProvider=\"Tarvic\"\r\n"
                 : "Provider=\"Vendor " + std::to_string(n) + "\"\r\n";
  for (int i = 0; i < 40; ++i) text += "Device" + std::to_string(i) + "=\"Audio device " + std::to_string(i) + "\"\r\n";
  return text;
}

void enlarge(Machine& machine, int scale) {
  auto inf = *tvx::sim::parseAbsolutePath(machine.windowsDir + "\\INF");
  auto other = inf;
  other.parts.push_back("OTHER");
  machine.files.makeDirectories(other);
  for (int n = 0; n < 600 * scale; ++n) {
    const bool makers = n % 6 == 0;  // 100 of each 600
    auto path = n % 2 == 0 ? inf : other;
    path.parts.push_back((makers ? "TV" : "VND") + std::to_string(n) + ".INF");
    machine.files.writeFile(path, vendorInf(n, makers));
  }
  std::string reg = "REGEDIT4\r\n\r\n";
  for (int n = 0; n < 300 * scale; ++n) {
    char instance[16];
    std::snprintf(instance, sizeof(instance), "%04d", n);
    const std::string key =
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\" + std::string(instance);
    reg += key + "]\r\n\"DriverDesc\"=\"Device " + std::to_string(n) + "\"\r\n\"ProviderName\"=\"" +
           (n % 15 == 0 ? "Tarvic" : "Vendor") + "\"\r\n" + key + "\\Settings]\r\n\"Level\"=dword:00000001\r\n";
  }
  for (int n = 0; n < 4400 * scale; ++n) {
    reg += "[HKEY_LOCAL_MACHINE\\Software\\Vendor" + std::to_string(n % 50) + "\\Product" + std::to_string(n) +
           "]\r\n\"Value\"=\"" + std::to_string(n) + "\"\r\n";
  }
  tvx::sim::importRegFile(machine.registry, reg, "bench");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_install MACHINE-FOLDER SCALE [RUNS]\n");
    return 2;
  }
  const int scale = std::atoi(argv[2]);
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    Machine machine;
    if (!tvx::sim::loadMachineOrReport(machine, argv[1], "bench_install")) return 2;
    enlarge(machine, scale);
    const std::clock_t start = std::clock();
    tvx::sim::RunReport report = tvx::sim::runSetup(machine, "bench");
    const std::clock_t end = std::clock();
    if (!report.restart) {
      std::fprintf(stderr, "bench_install: the installation did not finish\n");
      return 1;
    }
    times.push_back(1000.0 * static_cast<double>(end - start) / CLOCKS_PER_SEC);
  }
  std::sort(times.begin(), times.end());
  std::printf("%.1f\n", times[times.size() / 2]);
  return 0;
}
