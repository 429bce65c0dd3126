#include "CdFault.h"

#include "../../src/platform/sim/Simulator.h"
#include "InfFiles.h"

namespace tvx::sim {

namespace {

// The medium's name for the person who made it.
std::string medium(const Intent& intent) { return intent.options.webSetup == 0 ? "the CD" : "the download"; }

// A path below the program's folder, as it stands on the medium.
std::string onMedium(const Intent& intent, const std::string& path) {
  return path.size() >= intent.sourceDir.size() && iequals(path.substr(0, intent.sourceDir.size()), intent.sourceDir)
             ? path.substr(intent.sourceDir.size())
             : path;
}

}  // namespace

std::string missingSuiteInstaller(const Intent& intent, Family family, const FileTree& before) {
  // On the CD after all: the CD was out of the drive when the program looked.
  if (exists(before, suiteInstaller(intent, family, before))) return {};
  const std::string wdm = intent.sourceDir + "W2K-ME\\app\\Setup.exe";
  const bool vxd = intent.os.windows9x() && (intent.os.win95 || family == Family::Vxd);
  // The VxD family's installer missing, the program takes the WDM one, missing too.
  std::string out =
      vxd ? "neither W95-98\\app\\Setup.exe nor W2K-ME\\app\\Setup.exe, taken in its place, is on " + medium(intent)
          : onMedium(intent, suiteInstaller(intent, family, before)) + " is missing from " + medium(intent);
  if (vxd && exists(before, wdm)) out = "W95-98\\app\\Setup.exe is missing from " + medium(intent);
  // A download read as a CD: its setup.ini does not say WebSetup, so the CD's folders are sought.
  // (On a disc image, the mastering's names are what say most.)
  if (!intent.discImage && !folderExists(before, intent.sourceDir + "W95-98") &&
      !folderExists(before, intent.sourceDir + "W2K-ME")) {
    out += " (the folder has none of the CD's folders: is it a download whose setup.ini lacks WebSetup?)";
  }
  return out;
}

std::string missingHandOffInstaller(const Intent& intent, const FileTree& before) {
  if (exists(before, intent.sourceDir + "W2KSetup.dat") || exists(before, intent.sourceDir + "W2KSetup.exe")) return {};
  return "the 2000/XP installer (W2KSetup.dat or W2KSetup.exe) is missing from " + medium(intent);
}

std::string notStarting(const Intent& intent, const std::string& installer) {
  return onMedium(intent, installer) + " is on " + medium(intent) + " but does not start";
}

std::string missingPackage(const Intent& intent, Family family, const FileTree& before) {
  const std::string folder = packageFolder(intent, family, before);
  std::string name = onMedium(intent, folder);
  if (!name.empty() && name.back() == '\\') name.pop_back();
  const std::string label = name.empty() ? medium(intent) : "the driver package " + name + " on " + medium(intent);
  std::string out;
  if (!folderExists(before, folder)) {
    out = "the driver package " + name + " is missing from " + medium(intent);
  } else {
    // The package: an INF file (its name holds ".inf" or ".INF") that names the family's disk in
    // [SourceDisksNames] and files in [SourceDisksFiles].
    const std::string disk = family == Family::Vxd ? "1" : "200";
    std::string misnamed;
    for (const FileNode* file : plainFiles(before, folder)) {
      const std::string& n = file->name;
      if (n.size() < 4 || !iequals(n.substr(n.size() - 4), ".inf")) continue;
      if (!isInfName(n)) {
        misnamed += (misnamed.empty() ? "" : ", ") + n;
        continue;
      }
      const IniText ini(file->data);
      const auto diskEntry = ini.get("SourceDisksNames", disk);
      if (diskEntry && !profileValue(*diskEntry).empty() && !ini.entries("SourceDisksFiles").empty()) return {};
    }
    out = label + " holds no INF file naming its disk " + disk + " and its files" +
          (misnamed.empty() ? "" : " (" + misnamed + ": a name must hold \".inf\" or \".INF\")");
  }
  // Windows 95's own folder missing: the program takes the folder above it instead.
  const std::string own = intent.sourceDir + (intent.os.win95 ? "W95-98\\drv\\95\\" : "W95-98\\drv\\98\\");
  const bool cd = intent.flow == Flow::DriverFromCd || intent.flow == Flow::MainDialog;
  if (cd && family == Family::Vxd && !folderExists(before, own)) {
    out = onMedium(intent, own.substr(0, own.size() - 1)) + " is missing from " + medium(intent) + ", and " + out;
  }
  return out;
}

}  // namespace tvx::sim
