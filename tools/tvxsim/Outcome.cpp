#include "Outcome.h"

#include <algorithm>

#include "../../src/platform/sim/Simulator.h"
#include "CdFault.h"
#include "Diff.h"
#include "DriverCheck.h"
#include "InfFiles.h"
#include "Intent.h"
#include "RunView.h"

namespace tvx::sim {

namespace {

// What the program says, word for word.
const char* const kCompleted = "Setup completed! The system will restart now!";
const char* const kNoInstallationFiles = "Can not find installation files.";
const char* const kNoHandOff = "Can not find the setup program for Windows 2000/XP.";
const char* const kNoSuite = "Can not find the Tarvic Sound Suite setup program.";
const char* const kInsertCd =
    "Can not find the Tarvic Sound Suite setup program.\n Please insert the installation CD now.";
const char* const kSuiteNotStarted = "Can not start the Tarvic Sound Suite setup program.";
const char* const kHandOffNotStarted = "Can not start the setup program for Windows 2000/XP.";
const char* const kUnknownWindows = "Can not tell the version of Windows. The driver can not be installed.";
const char* const kNtRefusal = "This driver can not be used on Windows NT or Windows 2000.";
const char* const kWdmRefusal = "This WDM driver can only be installed on Windows 98SE/ME/2000";
const char* const kIncomplete = "Can not complete the installation. Please run Setup again.";
const char* const kWdmInstallFolder = "C:\\Program Files\\Tarvic\\W2K-ME";

Outcome complete(std::string summary) { return Outcome{Outcome::Verdict::Complete, std::move(summary), {}, {}}; }
Outcome nothing(std::string why) { return Outcome{Outcome::Verdict::NothingInstalled, std::move(why), {}, {}}; }
Outcome incomplete(std::vector<std::string> missing) {
  return Outcome{Outcome::Verdict::Incomplete, {}, std::move(missing), {}};
}

std::string quotedIfBlank(const std::string& path) {
  return path.find(' ') != std::string::npos ? "\"" + path + "\"" : path;
}

const char* familyName(Family f) { return f == Family::Vxd ? "VxD" : "WDM"; }

// What a way of the program that installs nothing may still change before it stops.
enum class Allowed { StartupSettings, TrayAndMixerSettings };

bool allowedChange(const Change& c, const std::string& windowsDir, Allowed allowed) {
  const auto file = [&](const char* name) { return iequals(c.path, windowsDir + "\\" + name); };
  const auto value = [&](const char* key, const char* name) {
    return iequals(c.path, key) && c.what.rfind("value", 0) == 0 &&
           startsWithI(c.detail, std::string("\"") + name + "\"");
  };
  // Every start: the CD player's setting, the default recording format, the suite's start-up entry.
  if (file("TVCDPLAY.INI") || value("HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio", "DefaultFormat") ||
      value("HKEY_USERS\\.Default\\Software\\Microsoft\\Multimedia\\Audio", "DefaultFormat") ||
      value("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarvic Sound Suite")) {
    return true;
  }
  if (allowed != Allowed::TrayAndMixerSettings) return false;
  // The driver run's preparation before the refusal: the tray's volume icon and mixerdef.ini.
  return file("mixerdef.ini") ||
         value("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray", "Services") ||
         value("HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray", "Services");
}

struct Check {
  const Machine& after;
  bool sameFile(const std::string& a, const std::string& b) const {
    auto pa = parseAbsolutePath(a);
    auto pb = parseAbsolutePath(b);
    if (!pa || !pb) return false;
    const FileNode* folderA = after.files.find(pa->parent());
    const FileNode* folderB = after.files.find(pb->parent());
    return folderA != nullptr && folderA == folderB && iequals(pa->leaf(), pb->leaf());
  }
  const FileTree& before;
  const RegistryTree& registryBefore;
  Intent intent;
  RunView view;
  FileTree booted;

  // Nothing was installed: true when the machine changed no more than that allows.
  Outcome nothingBut(const std::string& why, Allowed allowed) const {
    const std::vector<std::string> changed = changesBeyond(allowed);
    if (changed.empty()) return nothing(why);
    std::vector<std::string> missing{"nothing was to change (" + why + "), yet:"};
    missing.insert(missing.end(), changed.begin(), changed.end());
    return incomplete(missing);
  }

  // The person was told the program could not go on: nothing installed when the machine is as
  // it was (but for what that way of the program changes first), else failed, and the person
  // knows it.
  Outcome toldBut(const std::string& why, Allowed allowed) const {
    if (changesBeyond(allowed).empty()) return nothing(why);
    return Outcome{Outcome::Verdict::Failed, why, {}, {}};
  }

  std::vector<std::string> changesBeyond(Allowed allowed) const {
    std::vector<std::string> changed;
    for (const auto& c : diffFiles(before, after.files)) {
      if (!allowedChange(c, after.windowsDir, allowed)) changed.push_back(c.what + " " + c.path);
    }
    for (const auto& c : diffRegistry(registryBefore, after.registry)) {
      if (!allowedChange(c, after.windowsDir, allowed)) {
        changed.push_back(c.what + " " + c.path + (c.detail.empty() ? "" : ": " + c.detail));
      }
    }
    return changed;
  }

  // What the program told the person when it could not go on (a box Windows could not show is
  // what the program told all the same); empty when it told nothing.
  std::string told() const {
    for (const char* text : {kIncomplete, kNoInstallationFiles, kNoHandOff, kNoSuite, kNtRefusal, kWdmRefusal,
                             kSuiteNotStarted, kHandOffNotStarted, kUnknownWindows}) {
      for (const MessageSeen& m : view.messages) {
        if (m.text != text) continue;
        return std::string("told \"") + text + "\"" +
               (m.answer == "(could not be shown)" ? ", in a box Windows could not show" : "");
      }
    }
    return {};
  }

  Outcome driver(DriverClaim claim) const {
    claim.restarted = after.restartRequested;
    const DriverFindings found = checkDriver(claim, intent, after, before, booted);
    const std::string summary = std::string(familyName(claim.family)) + " driver: " + found.summary();
    if (view.showed(kCompleted)) return found.missing.empty() ? complete(summary) : incomplete(found.missing);
    if (view.showed(kNtRefusal)) return toldBut("refused: " + told(), Allowed::StartupSettings);
    if (view.showed(kWdmRefusal)) return toldBut("refused: " + told(), Allowed::TrayAndMixerSettings);
    if (!told().empty()) return toldBut(told(), Allowed::StartupSettings);
    // The person was told nothing: the machine holds the driver, or is as it was.
    if (found.missing.empty()) return complete(summary + "; the person was not told");
    return nothingBut("the run stopped without a word", Allowed::StartupSettings);
  }

  bool started(const std::string& path) const {
    const std::string command = quotedIfBlank(path);
    return std::any_of(view.started.begin(), view.started.end(),
                       [&](const std::string& s) { return iequals(s, command); });
  }

  // The suite installer meant for this Windows started, and the marker file written for it.
  Outcome suite(Family family, bool driverChecked, std::vector<std::string>& missing, bool markers) const {
    const std::string installer = suiteInstaller(intent, family, after.files);
    if (!started(installer)) {
      if (!told().empty()) return toldBut(told(), Allowed::StartupSettings);
      // Nothing said and nothing started: the machine must be as it was.
      return nothingBut(exists(after.files, installer)
                            ? "the suite installer " + installer + " was not started; the person was not told"
                            : "the suite installer is not on the CD; the person was not told",
                        Allowed::StartupSettings);
    }
    std::string summary = "suite installer " + installer + " started";
    if (markers) {
      const bool wdm = driverChecked && family == Family::Wdm;
      const FileNode* node = fileAt(after.files, after.windowsDir + "\\TVXSETUP.INI");
      const IniText ini(node != nullptr ? node->data : std::string());
      const auto read = [&](const char* section, const char* key) {
        auto v = ini.get(section, key);
        return v ? profileValue(*v) : std::string("(missing)");
      };
      const std::string command = wdm ? shortPathOf(after.files, kWdmInstallFolder) + "\\MESetup.dat" : "";
      const std::pair<const char*, std::string> wanted[] = {{"[Need_To_Reboot] Install", wdm ? "NO" : "YES"},
                                                            {"[Need_To_InstallDriver] Install", wdm ? "YES" : "NO"},
                                                            {"[Need_To_InstallDriver] Command", command}};
      const std::string found[] = {read("Need_To_Reboot", "Install"), read("Need_To_InstallDriver", "Install"),
                                   read("Need_To_InstallDriver", "Command")};
      // The command the suite's installer runs to finish the driver must be there to run.
      if (wdm && !found[2].empty() && !exists(after.files, found[2])) {
        missing.push_back("TVXSETUP.INI [Need_To_InstallDriver] Command names " + found[2] + ", which is not there");
      }
      for (int i = 0; i < 3; ++i) {
        if (i == 2 && wdm && sameFile(found[i], wanted[i].second)) continue;
        if (!iequals(found[i], wanted[i].second)) {
          missing.push_back("TVXSETUP.INI " + std::string(wanted[i].first) + " is \"" + found[i] + "\", not \"" +
                            wanted[i].second + "\"");
        }
      }
      summary += wdm ? ", markers: finish the WDM driver" : ", markers: restart";
    }
    return missing.empty() ? complete(summary) : incomplete(missing);
  }

  Outcome handOff() const {
    std::string installer = intent.sourceDir + "W2KSetup.dat";
    if (!exists(after.files, installer)) installer = intent.sourceDir + "W2KSetup.exe";
    if (!exists(after.files, installer)) {
      if (view.showed(kNoHandOff)) return toldBut(told(), Allowed::StartupSettings);
      return nothingBut("neither W2KSetup.dat nor W2KSetup.exe is on the CD; the person was not told",
                        Allowed::StartupSettings);
    }
    const bool driverOnly = intent.tail == "/DRIVER" || intent.tail == "DRIVER" || intent.tail == "-DRIVER" ||
                            intent.options.driverOnly != 0;
    const std::string command = quotedIfBlank(installer) + (driverOnly ? " /DRIVER" : "");
    if (std::find(view.started.begin(), view.started.end(), command) != view.started.end()) {
      return complete("handed to the Windows 2000/XP installer: " + command);
    }
    if (!told().empty()) return toldBut(told(), Allowed::StartupSettings);
    return incomplete({"the Windows 2000/XP installer was not started as " + command});
  }

  // The family the main dialog offers, or the one chosen in the architecture dialog.
  Family chosenFamily() const {
    const DialogSeen* arch = view.dialog(130);
    if (arch != nullptr) return arch->checked(1004) ? Family::Vxd : Family::Wdm;
    return offeredFamily(intent);
  }

  // The family whose suite installer the program looks for: the one the driver run staged, else
  // the one offered or chosen.
  Family suiteFamily() const {
    if (intent.flow != Flow::MainDialog) return offeredFamily(intent);
    const DialogSeen* main = view.dialog(102);
    const bool driverChecked = main != nullptr && main->checked(1002) && !intent.os.nt4;
    return driverChecked ? cdFamily(intent) : chosenFamily();
  }

  Family driverFamily() const {
    switch (intent.flow) {
      case Flow::WebPackage:
        return webFamily(intent);
      case Flow::WdmOptionsDialog:
        return Family::Wdm;
      case Flow::VxdOptionsDialog:
        return Family::Vxd;
      default:
        return cdFamily(intent);
    }
  }

  // What of the CD let the person down: the file whose absence the person was told of. A
  // download has no Windows 2000/XP installer by design.
  std::string cdFault() const {
    if (view.showed(kNoHandOff))
      return intent.options.webSetup == 0 ? missingHandOffInstaller(intent, before) : std::string();
    if (view.showed(kInsertCd) || view.showed(kNoSuite)) return missingSuiteInstaller(intent, suiteFamily(), before);
    // There, and no program: the CD holds something else under the installer's name.
    if (view.showed(kSuiteNotStarted)) return notStarting(intent, suiteInstaller(intent, suiteFamily(), before));
    if (view.showed(kHandOffNotStarted)) {
      const std::string dat = intent.sourceDir + "W2KSetup.dat";
      return notStarting(intent, exists(before, dat) ? dat : intent.sourceDir + "W2KSetup.exe");
    }
    if (!view.showed(kNoInstallationFiles)) return {};
    // A WDM download serves Windows 98 SE and Me: on 95 and first-edition 98 its flat run looks
    // for the VxD package it does not hold, by design.
    const bool olderWindows = intent.os.win95 || (intent.os.win98 && !intent.os.win98se);
    if (intent.flow == Flow::WebPackage && intent.options.installWDMDriver != 0 && olderWindows) return {};
    const DialogSeen* main = view.dialog(102);
    if (intent.flow == Flow::MainDialog && (main == nullptr || !main->shown)) {
      return missingSuiteInstaller(intent, chosenFamily(), before);
    }
    return missingPackage(intent, driverFamily(), before);
  }

  Outcome mainDialog() const {
    const DialogSeen* arch = view.dialog(130);
    const DialogSeen* main = view.dialog(102);
    if (arch != nullptr && arch->result != "OK")
      return nothingBut("cancelled in the architecture dialog", Allowed::StartupSettings);
    if (main == nullptr || !main->shown) {
      if (!told().empty()) return toldBut(told(), Allowed::StartupSettings);
      return nothingBut("the main dialog was not shown", Allowed::StartupSettings);
    }
    // A step that could not go on tells the person, then ends the dialog as cancelled.
    if (main->result == "Cancel" && !told().empty()) return toldBut(told(), Allowed::StartupSettings);
    if (main->result == "Cancel") return nothingBut("cancelled", Allowed::StartupSettings);
    const bool apps = main->checked(1001);
    const bool driverChecked = main->checked(1002) && !intent.os.nt4;
    if (!apps && !driverChecked) return nothingBut("nothing chosen", Allowed::StartupSettings);
    if (!apps)
      return driver(DriverClaim{
          cdFamily(intent), Placement::Registered, packageFolder(intent, cdFamily(intent), before), {}, false});
    Family family = suiteFamily();
    std::vector<std::string> missing;
    std::string staged;
    if (driverChecked) {
      const DriverClaim claim{family, Placement::ForTheSuite, packageFolder(intent, family, before), {}, false};
      const DriverFindings found = checkDriver(claim, intent, after, before, booted);
      missing = found.missing;
      staged = std::string(familyName(family)) + " driver staged: " + found.summary() + "; ";
      // The CD given up at the prompt: the staged driver is finished as a driver-only run
      // finishes it, and Windows restarts.
      if (view.showed(kCompleted)) {
        return driver(DriverClaim{family, Placement::Registered, claim.packageDir, {}, false});
      }
    }
    Outcome o = suite(family, driverChecked, missing, true);
    if (o.verdict == Outcome::Verdict::Complete) o.summary = staged + o.summary;
    return o;
  }

  Outcome optionsDialog(int templateId, Family family, Placement placement) const {
    const DialogSeen* d = view.dialog(templateId);
    if (d == nullptr) return nothingBut("the options dialog was not shown", Allowed::StartupSettings);
    // Install ends the program inside the dialog; a dialog that ended went by Cancel.
    if (!d->result.empty()) return nothingBut("cancelled", Allowed::StartupSettings);
    // Windows that get no driver of this family: the run refuses them (the WDM run once it has
    // taken out the tray's volume icon and reset the mixer's settings), told or not.
    const OsClass& os = intent.os;
    if (family == Family::Wdm && !os.win98se && !os.winMe) {
      return nothingBut(view.showed(kWdmRefusal) ? "refused: " + told() : "refused; the person was not told",
                        Allowed::TrayAndMixerSettings);
    }
    if (family == Family::Vxd && (os.nt4 || os.nt5)) {
      return nothingBut(view.showed(kNtRefusal) ? "refused: " + told() : "refused; the person was not told",
                        Allowed::StartupSettings);
    }
    return driver(DriverClaim{family, placement, packageFolder(intent, family, before), *d, false});
  }

  Outcome run() const {
    switch (intent.flow) {
      case Flow::SuiteFromCommandLine: {
        std::vector<std::string> missing;
        return suite(offeredFamily(intent), false, missing, false);
      }
      case Flow::HandOff:
        return handOff();
      case Flow::DriverFromCd:
      case Flow::WebPackage: {
        if (intent.os.nt4) return nothingBut("no driver on Windows NT 4.0", Allowed::StartupSettings);
        if (!intent.os.windows9x()) return nothingBut("no driver on this Windows", Allowed::StartupSettings);
        const Family family = intent.flow == Flow::WebPackage ? webFamily(intent) : cdFamily(intent);
        return driver(DriverClaim{family, Placement::Registered, packageFolder(intent, family, before), {}, false});
      }
      case Flow::MainDialog:
        return mainDialog();
      case Flow::WdmOptionsDialog:
        return optionsDialog(131, Family::Wdm, Placement::WdmDialog);
      case Flow::VxdOptionsDialog:
        return optionsDialog(103, Family::Vxd, Placement::VxdDialog);
    }
    return nothing("");
  }
};

}  // namespace

const char* Outcome::word() const {
  switch (verdict) {
    case Verdict::Complete:
      return "complete";
    case Verdict::Incomplete:
      return "INCOMPLETE";
    case Verdict::NothingInstalled:
      return "nothing installed";
    case Verdict::Failed:
      return "failed";
  }
  return "";
}

std::string Outcome::text() const {
  if (verdict != Verdict::Incomplete) return std::string(word()) + " (" + summary + ")";
  std::string out = "INCOMPLETE: ";
  for (std::size_t i = 0; i < missing.size(); ++i) {
    out += missing[i];
    if (i + 1 < missing.size()) out += missing[i].back() == ':' ? " " : "; ";
  }
  return out;
}

Outcome checkOutcome(const Machine& after, const FileTree& filesBefore, const RegistryTree& registryBefore) {
  Check check{after, filesBefore, registryBefore, intentOf(after, filesBefore), viewOf(after.log), after.files};
  // After a restart request, Windows 95, 98 and Me carry out the rename queue as they start.
  if (after.restartRequested && after.os.isWindows9x()) {
    Machine start;
    start.os = after.os;
    start.windowsDir = after.windowsDir;
    start.files = after.files;
    start.boot();
    check.booted = start.files;
  }
  Outcome outcome = check.run();
  outcome.cdFault = check.cdFault();
  return outcome;
}

}  // namespace tvx::sim
