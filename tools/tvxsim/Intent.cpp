#include "Intent.h"

#include <cctype>

#include "../../src/framework/CommandLine.h"
#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

OsClass classify(const OsVersion& version) {
  OsClass os;
  const DWORD versionWord = version.build >> 16;
  if (version.platformId == VER_PLATFORM_WIN32_WINDOWS) {
    if (version.minor == 0) {
      os.win95 = true;
    } else if ((versionWord >> 4) > 0x40) {
      os.winMe = true;  // 4.90
    } else {
      os.win98 = true;
      os.win98se = ((version.build & 0xFFFF) >> 8) == 8;  // builds 2048 to 2303
    }
  } else if (version.platformId == VER_PLATFORM_WIN32_NT) {
    (version.major < 5 ? os.nt4 : os.nt5) = true;
  }
  return os;
}

const FileNode* fileAt(const FileTree& files, const std::string& path) {
  auto p = parseAbsolutePath(path);
  const FileNode* node = p ? files.find(*p) : nullptr;
  return node != nullptr && !node->isDirectory ? node : nullptr;
}

bool exists(const FileTree& files, const std::string& path) { return fileAt(files, path) != nullptr; }

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

bool folderExists(const FileTree& files, const std::string& path) {
  auto p = parseAbsolutePath(path);
  const FileNode* node = p ? files.find(*p) : nullptr;
  return node != nullptr && node->isDirectory;
}

// The options as the program could read them: a value whose last read failed (the machine's
// fault plan made it fail) reads as its default, as it does for the program.
CdOptions readOptions(const Machine& machine, const FileTree& files, const std::string& sourceDir) {
  const FileNode* node = fileAt(files, sourceDir + "setup.ini");
  const IniText ini(node != nullptr ? node->data : std::string());
  const auto unread = [&](const char* section, const char* key) {
    auto it = machine.lastNumberReadFailed.find(toUpper(sourceDir + "setup.ini|" + section + "|" + key));
    return it != machine.lastNumberReadFailed.end() && it->second;
  };
  const auto number = [&](const char* section, const char* key, int fallback) {
    if (unread(section, key)) return fallback;
    auto value = ini.get(section, key);
    const std::string text = value ? profileValue(*value) : std::string();
    return text.empty() ? fallback : static_cast<int>(profileNumber(text));
  };
  CdOptions o;
  o.driverOnly = number("InstallOption", "DriverOnly", 0);
  o.windowsMEDriverAskUser = number("InstallOption", "WindowsMEDriverAskUser", 0);
  o.windowsMEDriver = number("InstallOption", "WindowsMEDriver", 1);
  o.windows98SEDriverAskUser = number("InstallOption", "Windows98SEDriverAskUser", 0);
  o.windows98SEDriver = number("InstallOption", "Windows98SEDriver", 0);
  o.webSetup = number("InstallOption", "WebSetup", 0);
  o.installWDMDriver = number("InstallOption", "InstallWDMDriver", 0);
  o.fullPackage = number("InstallOption", "FullPackage", 0);
  o.usingCdda = number("Default", "UsingCDDA", 0);
  return o;
}

bool isSuiteTail(const std::string& tail) { return tail == "/AP" || tail == "AP" || tail == "-AP"; }
bool isDriverTail(const std::string& tail) { return tail == "/DRIVER" || tail == "DRIVER" || tail == "-DRIVER"; }

}  // namespace

Intent intentOf(const Machine& machine, const FileTree& before) {
  Intent intent;
  // A version the program cannot read leaves it every flag clear.
  intent.os = machine.versionQueryFails ? OsClass{} : classify(machine.os);
  intent.sourceDir = folderOf(machine.modulePath);
  intent.options = readOptions(machine, before, intent.sourceDir);
  intent.tail = toUpper(splitCommandLine(machine.commandLine).tail);
  intent.discImage =
      !intent.sourceDir.empty() &&
      machine.discs.count(static_cast<char>(std::toupper(static_cast<unsigned char>(intent.sourceDir[0])))) > 0;
  intent.unopened = machine.unopenedFiles;
  const CdOptions& o = intent.options;
  if (o.webSetup == 0 && isSuiteTail(intent.tail)) {
    intent.flow = Flow::SuiteFromCommandLine;
  } else if (intent.os.nt5) {
    intent.flow = Flow::HandOff;
  } else if (o.webSetup == 0 && (isDriverTail(intent.tail) || o.driverOnly != 0)) {
    intent.flow = Flow::DriverFromCd;
  } else if (o.webSetup == 0) {
    intent.flow = Flow::MainDialog;
  } else if (o.webSetup == 1) {
    intent.flow = o.installWDMDriver != 0 ? Flow::WdmOptionsDialog : Flow::VxdOptionsDialog;
  } else {
    intent.flow = Flow::WebPackage;
  }
  return intent;
}

const char* flowName(Flow flow) {
  switch (flow) {
    case Flow::SuiteFromCommandLine:
      return "the suite from the command line";
    case Flow::HandOff:
      return "the hand-off to the Windows 2000/XP installer";
    case Flow::DriverFromCd:
      return "the driver from the CD";
    case Flow::MainDialog:
      return "the main dialog";
    case Flow::WdmOptionsDialog:
      return "the WDM options dialog";
    case Flow::VxdOptionsDialog:
      return "the VxD options dialog";
    case Flow::WebPackage:
      return "the driver of the download";
  }
  return "";
}

Family cdFamily(const Intent& intent) {
  const OsClass& os = intent.os;
  const bool wdm =
      (os.win98 && intent.options.windows98SEDriver != 0) || (os.winMe && intent.options.windowsMEDriver != 0);
  return wdm ? Family::Wdm : Family::Vxd;
}

Family webFamily(const Intent& intent) {
  const OsClass& os = intent.os;
  if (os.win95) return Family::Vxd;
  if (os.win98se || os.winMe) return intent.options.installWDMDriver != 0 ? Family::Wdm : Family::Vxd;
  if (os.win98) return Family::Vxd;
  return Family::Wdm;
}

Family offeredFamily(const Intent& intent) {
  const OsClass& os = intent.os;
  const CdOptions& o = intent.options;
  const bool vxd = (os.winMe && o.windowsMEDriver == 0) || (os.win98se && o.windows98SEDriver == 0) ||
                   (os.win98 && !os.win98se) || os.win95;
  return vxd ? Family::Vxd : Family::Wdm;
}

std::string packageFolder(const Intent& intent, Family family, const FileTree& files) {
  const bool flat =
      intent.flow == Flow::WebPackage || intent.flow == Flow::WdmOptionsDialog || intent.flow == Flow::VxdOptionsDialog;
  if (flat) return intent.sourceDir;
  if (family == Family::Wdm) return intent.sourceDir + "W2K-ME\\drv\\";
  const std::string own = intent.sourceDir + (intent.os.win95 ? "W95-98\\drv\\95\\" : "W95-98\\drv\\98\\");
  return folderExists(files, own) ? own : intent.sourceDir + "W95-98\\drv\\";
}

std::string suiteInstaller(const Intent& intent, Family family, const FileTree& files) {
  const OsClass& os = intent.os;
  const std::string wdm = intent.sourceDir + "W2K-ME\\app\\Setup.exe";
  if (os.nt4) return intent.sourceDir + "NT40\\app\\Setup.exe";
  // 2000 and XP, and a Windows no flag names: the installer of the WDM suite, without a fallback.
  if (!os.windows9x()) return wdm;
  const std::string meant = os.win95 || family == Family::Vxd ? intent.sourceDir + "W95-98\\app\\Setup.exe" : wdm;
  auto path = parseAbsolutePath(meant);
  const bool opened = path && intent.unopened.count(toUpper(path->str())) == 0;
  return exists(files, meant) && opened ? meant : wdm;
}

}  // namespace tvx::sim
