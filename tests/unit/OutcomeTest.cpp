// The outcome check against whole runs on the scenario machines: a complete installation is
// complete, and each piece Windows would miss, planted one at a time into the machine after the
// run, makes it INCOMPLETE with that piece named.
#include <gtest/gtest.h>

#include <functional>

#include "src/platform/sim/Simulator.h"
#include "tools/tvxsim/DriverCheck.h"
#include "tools/tvxsim/RunView.h"
#include "tools/tvxsim/SignOff.h"
#include "tools/tvxsim/SimRun.h"

namespace tvx {
namespace {

using sim::Outcome;

// A scenario machine run through Setup.exe, with the machine as it was before.
struct ScenarioRun {
  sim::Machine machine;
  sim::FileTree before;
  sim::RegistryTree registryBefore;

  // `prepare` changes the machine (or its CD) before the run.
  explicit ScenarioRun(const std::string& scenario, const std::function<void(ScenarioRun&)>& prepare = {}) {
    sim::loadMachine(machine, std::string(TVX_SOURCE_DIR) + "/tests/scenarios/" + scenario + "/machine");
    if (prepare) prepare(*this);
    before = machine.files;
    registryBefore = machine.registry;
    sim::runSetup(machine, scenario);
  }
  Outcome outcome() const { return sim::checkOutcome(machine, before, registryBefore); }

  sim::FileNode* node(const std::string& path) { return machine.files.find(*sim::parseAbsolutePath(path)); }
  void remove(const std::string& path) {
    auto p = *sim::parseAbsolutePath(path);
    sim::FileNode* folder = machine.files.find(p.parent());
    ASSERT_NE(folder, nullptr) << path;
    ASSERT_NE(folder->child(p.leaf()), nullptr) << path;
    folder->removeChild(folder->child(p.leaf()));
  }
  void write(const std::string& path, const std::string& data) {
    auto p = *sim::parseAbsolutePath(path);
    machine.files.makeDirectories(p.parent());
    machine.files.writeFile(p, data);
  }
  void setIni(const std::string& path, const std::string& section, const std::string& key, const std::string& value) {
    sim::FileNode* file = node(path);
    ASSERT_NE(file, nullptr) << path;
    sim::IniText ini(file->data);
    ini.set(section, key, value);
    file->data = ini.text();
  }
  void replaceInFile(const std::string& path, const std::string& from, const std::string& to) {
    sim::FileNode* file = node(path);
    ASSERT_NE(file, nullptr) << path;
    const auto at = file->data.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    file->data.replace(at, from.size(), to);
  }
};

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) out += p + "\n";
  return out;
}

#define EXPECT_MISSING(outcome, piece)                                       \
  do {                                                                       \
    const Outcome o = (outcome);                                             \
    EXPECT_EQ(o.verdict, Outcome::Verdict::Incomplete) << o.text();          \
    EXPECT_NE(joined(o.missing).find(piece), std::string::npos) << o.text(); \
  } while (0)

TEST(OutcomeOfADriverRun, ACompleteInstallationOnEachWindowsIsComplete) {
  const struct {
    const char* scenario;
    const char* summary;
  } cases[] = {
      {"win95-cd-driver-vxd", "VxD driver: 2 INF copies, 5 package files, mixer replaced at boot"},
      {"win98se-cd-driver-wdm", "WDM driver: 4 INF copies, 7 package files, mixer replaced at boot"},
      {"winme-cd-driver-wdm", "WDM driver: 1 INF copy, 7 package files, mixer replaced at boot"},
      {"win98se-options-vxd", "VxD driver: 1 INF copy, 8 package files, mixer replaced"},
      {"winme-options-wdm", "WDM driver: 5 INF copies, 8 package files"},
  };
  for (const auto& c : cases) {
    const Outcome o = ScenarioRun(c.scenario).outcome();
    EXPECT_EQ(o.verdict, Outcome::Verdict::Complete) << c.scenario << ": " << o.text();
    EXPECT_EQ(o.summary, c.summary) << c.scenario;
  }
}

TEST(OutcomeOfADriverRun, APackageFileMissingFromTheFolderTheInfNamesIsIncomplete) {
  ScenarioRun run("win98se-cd-driver-wdm");
  run.remove("C:\\Program Files\\Tarvic\\W2K-ME\\tvaudio.sys");
  // Named once, under the folder's long name, though four INF copies name it by its short one.
  const Outcome o = run.outcome();
  EXPECT_EQ(o.missing,
            std::vector<std::string>{
                "TVAUDIO.INF [SourceDisksFiles] names tvaudio.sys; not in C:\\Program Files\\Tarvic\\W2K-ME"})
      << o.text();
}

TEST(OutcomeOfADriverRun, ADiskEntryPointingElsewhereIsIncomplete) {
  ScenarioRun run("win95-cd-driver-vxd");
  run.setIni("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF", "SourceDisksNames", "1", "\"Tarvic Driver Disk\",,,C:\\DRIVERS");
  EXPECT_MISSING(run.outcome(), "names TVAUDIO.VXD; not in C:\\DRIVERS");
  // An entry without a path: Windows looks beside the INF copy, where the files are not.
  ScenarioRun bare("win95-cd-driver-vxd");
  bare.setIni("C:\\WINDOWS\\INF\\TVAUDIO.INF", "SourceDisksNames", "1", "\"Tarvic Driver Disk\",,,");
  EXPECT_MISSING(bare.outcome(), "names TVAUDIO.VXD; not in C:\\WINDOWS\\INF");
  // A file on a disk the INF does not list.
  ScenarioRun unlisted("win95-cd-driver-vxd");
  unlisted.setIni("C:\\WINDOWS\\INF\\TVAUDIO.INF", "SourceDisksFiles", "TVAUDIO.VXD", "7");
  EXPECT_MISSING(unlisted.outcome(), "names TVAUDIO.VXD on disk 7, which [SourceDisksNames] lacks");
}

TEST(OutcomeOfADriverRun, AMixerNotReplacedIsIncomplete) {
  // The rename queue lost its entries: Windows starts with the old mixer.
  ScenarioRun queue("win98se-cd-driver-wdm");
  queue.remove("C:\\WINDOWS\\WININIT.INI");
  EXPECT_MISSING(queue.outcome(), "after the restart C:\\WINDOWS\\Mixer.exe is not the package's mixer");
  // The VxD options copy it at once.
  ScenarioRun direct("win98se-options-vxd");
  direct.node("C:\\WINDOWS\\Mixer.exe")->data = "MZ mixer, the one in use";
  EXPECT_MISSING(direct.outcome(), "C:\\WINDOWS\\Mixer.exe is not the package's mixer");
}

TEST(OutcomeOfADriverRun, OptionLinesNotWrittenAreIncomplete) {
  // The person chose the sound card's own rear jack: LINEINasREAR is 0 in the copy.
  ScenarioRun vxd("win98se-options-vxd");
  vxd.replaceInFile("C:\\WINDOWS\\INF\\TVAUDIO.INF", "HKR,Config,LINEINasREAR,1,0", "HKR,Config,LINEINasREAR,1,1");
  EXPECT_MISSING(vxd.outcome(), "lacks the option line \"HKR,Config,LINEINasREAR,1,0\"");
  // The WDM options: the jack value of the staged copy, which Windows Me registers.
  ScenarioRun wdm("winme-options-wdm");
  wdm.replaceInFile("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF", "0x00010001,0x00,0,0,0", "0x00010001,0x05,0,0,0");
  EXPECT_MISSING(wdm.outcome(), "W2K-ME\\TVAUDIO.INF lacks the option line");
}

TEST(OutcomeOfADriverRun, EachOtherPieceWindowsLooksForIsNamedWhenMissing) {
  ScenarioRun copy("win98se-cd-driver-wdm");
  copy.remove("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF");
  EXPECT_MISSING(copy.outcome(), "no copy of TVAUDIO.INF in C:\\WINDOWS\\INF\\OTHER");

  ScenarioRun catalog("win98se-cd-driver-wdm");
  catalog.remove("C:\\WINDOWS\\INF\\CATALOG\\tvaudio.cat");
  EXPECT_MISSING(catalog.outcome(), "TVAUDIO.INF declares the catalog tvaudio.cat; not in C:\\WINDOWS\\INF\\CATALOG");

  ScenarioRun oem("winme-cd-driver-wdm");
  oem.remove("C:\\WINDOWS\\INF\\OTHER\\TarvicTVAUDIO.PNF");
  EXPECT_MISSING(oem.outcome(), "Windows holds no copy of C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF");

  ScenarioRun sources("winme-cd-driver-wdm");
  sim::RegKey* setup = sources.machine.registry.find(sources.machine.registry.root(HKEY_LOCAL_MACHINE),
                                                     "Software\\Microsoft\\Windows\\CurrentVersion\\Setup");
  ASSERT_NE(setup, nullptr);
  setup->removeValue("Installation Sources");
  EXPECT_MISSING(sources.outcome(), "the installation sources lack C:\\Program Files\\Tarvic\\W2K-ME");
}

// Windows Me's CD started without a tail: the main dialog with both boxes, so the WDM driver is
// staged and left for the suite's installer to finish.
void startFromTheMainDialog(ScenarioRun& run) { run.machine.commandLine = "D:\\SETUP.EXE"; }

TEST(OutcomeOfADriverRun, TheStagedDriverIsHeldToItsPackageAsARegisteredOneIs) {
  ScenarioRun staged("winme-cd-driver-wdm", startFromTheMainDialog);
  EXPECT_EQ(staged.outcome().text(),
            "complete (WDM driver staged: 0 INF copies, 7 package files; suite installer D:\\W2K-ME\\app\\Setup.exe "
            "started, markers: finish the WDM driver)");
  // The suite's installer finishes the driver from the install folder: it must hold the driver
  // files, the catalog and the command the markers name.
  ScenarioRun noDriver("winme-cd-driver-wdm", [](ScenarioRun& run) {
    startFromTheMainDialog(run);
    run.remove("D:\\W2K-ME\\drv\\tvaudio.sys");
  });
  EXPECT_MISSING(noDriver.outcome(),
                 "TVAUDIO.INF names tvaudio.sys, which is not on the CD (W2K-ME\\drv\\tvaudio.sys)");
  ScenarioRun catalog("winme-cd-driver-wdm", startFromTheMainDialog);
  catalog.remove("C:\\Program Files\\Tarvic\\W2K-ME\\tvaudio.cat");
  EXPECT_MISSING(catalog.outcome(),
                 "TVAUDIO.INF declares the catalog tvaudio.cat; not in C:\\Program Files\\Tarvic\\W2K-ME");
  ScenarioRun command("winme-cd-driver-wdm", startFromTheMainDialog);
  command.remove("C:\\Program Files\\Tarvic\\W2K-ME\\MESetup.dat");
  EXPECT_MISSING(command.outcome(), "Command names C:\\PROGRA~1\\TARVIC\\W2K-ME\\MESetup.dat, which is not there");
  // A disk entry pointing at a sub-folder the package lacks.
  ScenarioRun subFolder("winme-cd-driver-wdm", startFromTheMainDialog);
  subFolder.setIni("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF", "SourceDisksNames", "200",
                   "\"Tarvic WDM Audio Driver Disk\",,,\\drivers");
  EXPECT_MISSING(subFolder.outcome(), "names tvprop.dll; not in C:\\Program Files\\Tarvic\\W2K-ME\\drivers");
}

TEST(OutcomeOfADriverRun, EveryFileThePackageNeedsIsTheMediumsByteForByte) {
  // A copy that arrived shorter than its source is not the file.
  ScenarioRun shortCopy("win98se-cd-driver-wdm");
  shortCopy.node("C:\\Program Files\\Tarvic\\W2K-ME\\tvaudio.sys")->data.resize(7);
  EXPECT_MISSING(shortCopy.outcome(), "C:\\Program Files\\Tarvic\\W2K-ME\\tvaudio.sys is not copied whole (7 of its");
  ScenarioRun catalog("win98se-cd-driver-wdm");
  catalog.node("C:\\WINDOWS\\INF\\CATALOG\\tvaudio.cat")->data = "an earlier catalog";
  EXPECT_MISSING(catalog.outcome(), "C:\\WINDOWS\\INF\\CATALOG\\tvaudio.cat is not copied whole");
  // An INF copy cut short: the lines the setup rewrites aside, it holds every line of the package's.
  ScenarioRun inf("win98se-cd-driver-wdm");
  std::string& copy = inf.node("C:\\WINDOWS\\INF\\TVAUDIO.INF")->data;
  copy.resize(copy.find("[Strings]"));
  EXPECT_MISSING(inf.outcome(), "C:\\WINDOWS\\INF\\TVAUDIO.INF is not copied whole: it lacks line");
  // A file an INF names that is empty on the CD is the CD's fault, named as such (its copies are
  // as empty, and whole).
  ScenarioRun empty("win98se-cd-driver-wdm",
                    [](ScenarioRun& run) { run.node("D:\\W2K-ME\\drv\\tvaudio.sys")->data.clear(); });
  const Outcome emptied = empty.outcome();
  EXPECT_EQ(emptied.missing, std::vector<std::string>{"tvaudio.sys is empty on the CD (W2K-ME\\drv\\tvaudio.sys)"})
      << emptied.text();
  // The mirror into Windows' own setup files.
  ScenarioRun mirror("win98se-cd-driver-wdm");
  sim::RegKey* setup = mirror.machine.registry.find(mirror.machine.registry.root(HKEY_LOCAL_MACHINE),
                                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Setup");
  ASSERT_NE(setup, nullptr);
  const sim::RegValue* source = setup->value("SourcePath");
  ASSERT_NE(source, nullptr);
  sim::FileNode* mirrored = mirror.node(source->text() + "\\tvprop.dll");
  ASSERT_NE(mirrored, nullptr) << source->text();
  mirrored->data.resize(3);
  EXPECT_MISSING(mirror.outcome(), "\\tvprop.dll is not copied whole (3 of its");
}

TEST(OutcomeOfARun, AFileThePersonIsToldIsMissingIsNamedOnTheCd) {
  const struct {
    const char* scenario;
    const char* cdFault;
  } cases[] = {
      {"winxp-handoff-missing", "the 2000/XP installer (W2KSetup.dat or W2KSetup.exe) is missing from the CD"},
      {"nt40-suite-missing", "NT40\\app\\Setup.exe is missing from the CD"},
      {"winme-cd-driver-package-missing",
       "the driver package W2K-ME\\drv on the CD holds no INF file naming its disk 200 and its files"},
      // The CD was out of the drive when the program looked: the CD holds the file.
      {"win98se-dialog-cd-out-cancel", ""},
      {"win98se-dialog-cd-prompt", ""},
      {"winme-cd-driver-wdm", ""},
  };
  for (const auto& c : cases) {
    const Outcome o = ScenarioRun(c.scenario).outcome();
    EXPECT_EQ(o.cdFault, c.cdFault) << c.scenario;
    EXPECT_EQ(sim::signOffOf(o, "").verdict, *c.cdFault ? sim::SignOff::Verdict::Fails : sim::SignOff::Verdict::Passes)
        << c.scenario;
  }
}

TEST(SignOff, SaysWhyARowFailsWithTheCauseThatMattersMost) {
  const auto outcome = [](Outcome::Verdict v, std::vector<std::string> missing, std::string cdFault = "") {
    return Outcome{v, "summary", std::move(missing), std::move(cdFault)};
  };
  using V = Outcome::Verdict;
  EXPECT_EQ(sim::signOffOf(outcome(V::Complete, {}), "").text(), "ok");
  EXPECT_EQ(sim::signOffOf(outcome(V::Incomplete, {"a", "b", "c"}), "").text(), "FAILS: a (and 2 more)");
  EXPECT_EQ(sim::signOffOf(outcome(V::Incomplete, {"nothing was to change (x), yet:", "added y"}), "").text(),
            "FAILS: nothing was to change (x), yet: added y");
  EXPECT_EQ(sim::signOffOf(outcome(V::Failed, {}), "").text(), "FAILS: the installation failed: summary");
  // What the CD lacks says more than what the machine does; a run that did not end says why.
  EXPECT_EQ(sim::signOffOf(outcome(V::Complete, {}, "X is missing from the CD"), "").text(),
            "FAILS: X is missing from the CD");
  EXPECT_EQ(sim::signOffOf(std::nullopt, "hung: the same prompt came back 3 times").text(),
            "FAILS: hung: the same prompt came back 3 times");
  // A Windows the CD does not serve neither passes nor fails.
  EXPECT_EQ(sim::signOffOf(outcome(V::Incomplete, {"a"}), "", false).verdict, sim::SignOff::Verdict::NotServed);
}

TEST(OutcomeOfARun, ACancelledRunThatChangedSomethingIsIncomplete) {
  ScenarioRun cancelled("win98se-dialog-none");
  EXPECT_EQ(cancelled.outcome().text(), "nothing installed (cancelled)");
  cancelled.write("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF", "[Version]");
  EXPECT_MISSING(cancelled.outcome(), "added C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF");
  // The start-up's own settings may change in every run.
  ScenarioRun settings("win98se-dialog-none");
  settings.setIni("C:\\WINDOWS\\TVCDPLAY.INI", "CD PLAYER", "UsingCDDA", "1");
  EXPECT_EQ(settings.outcome().verdict, Outcome::Verdict::NothingInstalled);
}

TEST(OutcomeOfARun, TheSuiteInstallerAndItsMarkersAreHeldToTheChoice) {
  ScenarioRun both("win98se-dialog-both-wdm");
  EXPECT_EQ(both.outcome().verdict, Outcome::Verdict::Complete) << both.outcome().text();
  both.setIni("C:\\WINDOWS\\TVXSETUP.INI", "Need_To_Reboot", "Install", "YES");
  EXPECT_MISSING(both.outcome(), "TVXSETUP.INI [Need_To_Reboot] Install is \"YES\", not \"NO\"");

  ScenarioRun apps("win98se-dialog-apps-only");
  apps.machine.log.erase(std::remove_if(apps.machine.log.begin(), apps.machine.log.end(),
                                        [](const sim::Happening& h) { return h.kind == "start"; }),
                         apps.machine.log.end());
  EXPECT_MISSING(apps.outcome(), "the suite installer D:\\W95-98\\app\\Setup.exe was not started");
}

TEST(OutcomeOfARun, AnInstallerThatDidNotOpenForTheProgramIsNotTheOneMeant) {
  // "/AP" on Windows 95: the installer of W95-98 does not open this once, so to the program it is
  // not there, and the fallback of W2K-ME is the one meant.
  ScenarioRun run("win95-suite", [](ScenarioRun& r) { r.machine.faults.failFirst = "fopen"; });
  EXPECT_EQ(run.outcome().text(), "complete (suite installer D:\\W2K-ME\\app\\Setup.exe started)");
  // The same run with the installer of W95-98 started: not the one meant.
  for (auto& h : run.machine.log) {
    if (h.kind == "start") h.fields = {{"commandLine", "D:\\W95-98\\app\\Setup.exe"}};
  }
  EXPECT_EQ(run.outcome().text(),
            "nothing installed (the suite installer D:\\W2K-ME\\app\\Setup.exe was not started; the person was "
            "not told)");
}

TEST(OutcomeOfARun, ACompletionMessageOverNoPackageIsIncomplete) {
  // The package was there, yet nothing reached the INF folder: told complete, Windows finds nothing.
  ScenarioRun run("win98se-options-vxd");
  run.remove("C:\\WINDOWS\\INF\\TVAUDIO.INF");
  EXPECT_MISSING(run.outcome(), "no copy of TVAUDIO.INF in C:\\WINDOWS\\INF");
}

TEST(OutcomeOfARun, TheHandOffIsHeldToTheInstallerAndSwitchMeant) {
  ScenarioRun handOff("win2k-handoff-blank");
  EXPECT_EQ(handOff.outcome().text(),
            "complete (handed to the Windows 2000/XP installer: \"D:\\Driver CD\\W2KSetup.exe\" /DRIVER)");
  for (auto& h : handOff.machine.log) {
    if (h.kind == "start") h.fields = {{"commandLine", "\"D:\\Driver CD\\W2KSetup.exe\""}};
  }
  EXPECT_MISSING(handOff.outcome(), "was not started as \"D:\\Driver CD\\W2KSetup.exe\" /DRIVER");
}

TEST(SourceDisks, TheFourthFieldIsThePathAsWindowsReadsIt) {
  EXPECT_EQ(sim::sourceFolderOf("\"Disk, one\",tag,,C:\\PROGRA~1\\TARVIC\\W2K-ME", "C:\\WINDOWS\\INF\\"),
            "C:\\PROGRA~1\\TARVIC\\W2K-ME");
  // Appended after four fields, the folder is the fifth: Windows does not read it as the path.
  EXPECT_EQ(sim::sourceFolderOf("\"Disk\",,,, C:\\PROGRA~1\\TARVIC\\W95-98", "C:\\WINDOWS\\INF\\"), "C:\\WINDOWS\\INF");
  EXPECT_EQ(sim::sourceFolderOf("\"Disk\",,, C:\\PROGRA~1\\TARVIC\\W95-98", "C:\\WINDOWS\\INF\\"),
            "C:\\PROGRA~1\\TARVIC\\W95-98");
  // A relative path is below where the INF was installed from.
  EXPECT_EQ(sim::sourceFolderOf("\"Disk\",,,\\W2K-ME\\drv", "C:\\Program Files\\Tarvic\\W2K-ME"),
            "C:\\Program Files\\Tarvic\\W2K-ME\\W2K-ME\\drv");
  EXPECT_EQ(sim::sourceFolderOf("\"Disk\"", "C:\\Program Files\\Tarvic\\W2K-ME\\"),
            "C:\\Program Files\\Tarvic\\W2K-ME");
}

TEST(RunView, ReadsTheControlsOfADialogAsTheyStoodWhenItEnded) {
  const auto controls = sim::parseControls(
      "1 \"Install\" default, 1000 \"Disable, MIDI\" unchecked, 1006 \"4400 in MotherBoard\" checked disabled, "
      "1013 \"Mic\" unchecked hidden");
  ASSERT_EQ(controls.size(), 4u);
  EXPECT_EQ(controls.at(1000).text, "Disable, MIDI");
  EXPECT_FALSE(controls.at(1000).checked);
  EXPECT_TRUE(controls.at(1006).checked);
  EXPECT_FALSE(controls.at(1006).enabled);
  EXPECT_FALSE(controls.at(1013).visible);

  std::vector<sim::Happening> log = {
      {0, "dialog", {{"dialog", "103"}, {"caption", "Options"}, {"controls", "1000 \"MIDI\" unchecked"}}},
      {0, "control", {{"dialog", "103"}, {"control", "1000 \"MIDI\""}, {"state", "checked"}}},
      {0, "message", {{"text", "Hello"}, {"caption", "Setup"}, {"answer", "OK"}}},
      {0, "dialog end", {{"dialog", "103"}, {"result", "OK"}}},
      {0, "dialog end", {{"dialog", "130"}, {"result", "Cancel"}, {"beforeShown", "yes"}}}};
  const sim::RunView view = sim::viewOf(log);
  ASSERT_NE(view.dialog(103), nullptr);
  EXPECT_TRUE(view.dialog(103)->checked(1000));
  EXPECT_EQ(view.dialog(103)->result, "OK");
  ASSERT_NE(view.dialog(130), nullptr);
  EXPECT_FALSE(view.dialog(130)->shown);
  EXPECT_TRUE(view.showed("Hello"));
}

}  // namespace
}  // namespace tvx
