#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/core/SourceDir.h"
#include "src/suite/ApplicationSuite.h"

namespace tvx {
namespace {

using test::SimMachine;

const char* kAudio = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio]\r\n";
const char* kDefaultAudio = "[HKEY_USERS\\.Default\\Software\\Microsoft\\Multimedia\\Audio]\r\n";
const char* kInsertCd = "Can not find the Tarvic Sound Suite setup program.\n Please insert the installation CD now.";
const std::string kUninstall = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// The markers for the suite installer: the WDM driver's resume, or the installer's own restart.
const char* kWdmMarkers =
    "[Need_To_Reboot]\r\nInstall=NO\r\n[Need_To_InstallDriver]\r\nInstall=YES\r\n"
    "Command=C:\\PROGRA~1\\TARVIC\\W2K-ME\\MESetup.dat\r\n";
const char* kRestartMarkers =
    "[Need_To_Reboot]\r\nInstall=YES\r\n[Need_To_InstallDriver]\r\nInstall=NO\r\nCommand=\r\n";

std::string valueText(SimMachine& m, HKEY root, const char* path, const char* name) {
  const sim::RegValue* v = m.value(root, path, name);
  return v != nullptr ? v->text() : "(none)";
}

TEST(ApplyStartupAudioSettings, TheFirstCdFormatBecomesTheDefaultInBothPlaces) {
  struct Case {
    const char* formats;
    const char* expected;
  };
  for (const Case& c :
       {Case{"CD Quality,Radio Quality", "CD Quality"}, Case{"Radio,Phone,My CD", "My CD"},
        Case{"Radio,cd lower,CDDA,CD Quality", "CDDA"}, Case{"Radio,Phone", "(was)"}, Case{"", "(was)"}}) {
    SimMachine m;
    m.registry(std::string(kAudio) + "\"SystemFormats\"=\"" + c.formats + "\"\r\n\"DefaultFormat\"=\"(was)\"\r\n" +
               kDefaultAudio + "\"DefaultFormat\"=\"(was)\"\r\n");
    ApplyStartupAudioSettings(m.cdContext(), m.platform());
    EXPECT_EQ(valueText(m, HKEY_CURRENT_USER, "Software\\Microsoft\\Multimedia\\Audio", "DefaultFormat"), c.expected)
        << c.formats;
    EXPECT_EQ(valueText(m, HKEY_USERS, ".Default\\Software\\Microsoft\\Multimedia\\Audio", "DefaultFormat"), c.expected)
        << c.formats;
  }
}

TEST(ApplyStartupAudioSettings, CdAudioSettingAndStartupEntry) {
  SimMachine m;
  m.file("D:\\setup.ini", "[Default]\r\nUsingCDDA=2\r\n");
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
      "\"Tarvic Sound Suite\"=\"C:\\\\Suite\\\\deck.exe\"\r\n\"Other\"=\"other.exe\"\r\n");
  ApplyStartupAudioSettings(m.cdContext(), m.platform());
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=1\r\n");
  EXPECT_EQ(valueText(m, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarvic Sound Suite"),
            "(none)");
  EXPECT_EQ(valueText(m, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Other"),
            "other.exe");
  EXPECT_FALSE(m.hasKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Multimedia\\Audio")) << "nothing is created";

  SimMachine none;
  ApplyStartupAudioSettings(none.cdContext(), none.platform());
  EXPECT_EQ(none.content("C:\\WINDOWS\\TVCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=0\r\n");
  EXPECT_EQ(none.sim.registry().openHandles(), 0u);
}

TEST(CloseSuiteWindows, TheConsoleAloneWhenItRuns) {
  struct Row {
    std::vector<std::string> open, closed;
    DWORD waited;
  };
  for (const Row& r : {Row{{"CD Player", "SoundDeck", "MP3 Player"}, {"SoundDeck"}, 500},
                       Row{{"MP3 Player", "CD Player"}, {"CD Player", "MP3 Player"}, 0}}) {
    SimMachine m;
    for (const auto& title : r.open) m.machine.windows.push_back({title, "", false, true});
    CloseSuiteWindows(m.platform());
    EXPECT_EQ(m.fields("close", "window"), r.closed) << r.open.size() << " windows";
    EXPECT_EQ(m.machine.now, r.waited) << r.open.size() << " windows";
  }
}

TEST(RemovePreviousSuite, RunsTheUninstallStringAndWaitsForItsEnd) {
  SimMachine m;
  m.program("C:\\Program Files\\Suite\\Uninst.exe");
  m.registry(kUninstall +
             "Tarvic Sound WinNT Suite]\r\n\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\Suite\\\\Uninst.exe\\\" "
             "-f\\\"C:\\\\x.isu\\\"\"\r\n");
  m.machine.programs["C:\\PROGRAM FILES\\SUITE\\UNINST.EXE"] = sim::ProgramBehaviour{2500, 300, 0, {}, {}};
  RemovePreviousSuite(m.platform());
  EXPECT_EQ(m.fields("start", "commandLine|how"),
            (std::vector<std::string>{"\"C:\\Program Files\\Suite\\Uninst.exe\" -f\"C:\\x.isu\" -a | CreateProcessA"}));
  EXPECT_GE(m.machine.now, 2500u) << "returns only after the uninstaller ended";
  EXPECT_LT(m.machine.now, 2600u);
  EXPECT_EQ(m.sim.processes().openHandles(), 0u);
  EXPECT_EQ(m.sim.registry().openHandles(), 0u);

  // An uninstaller that ends with exit code 259 (STILL_ACTIVE) has ended all the same.
  SimMachine odd;
  odd.program("C:\\U.EXE");
  odd.registry(kUninstall + "Tarvic Sound Suite]\r\n\"UninstallString\"=\"C:\\\\U.EXE\"\r\n");
  odd.machine.programs["C:\\U.EXE"] = sim::ProgramBehaviour{4200, 0, STILL_ACTIVE, {}, {}};
  RemovePreviousSuite(odd.platform());
  EXPECT_EQ(odd.machine.now, 4200u);
  EXPECT_EQ(odd.sim.processes().openHandles(), 0u);
}

TEST(RemovePreviousSuite, PrefersTheInstallerStringOfTheFirstKey) {
  SimMachine m;
  m.program("C:\\A.EXE");
  m.registry(kUninstall + "Tarvic Sound Suite]\r\n\"UninstallString\"=\"C:\\\\B.EXE\"\r\n" +
             "\"InstallShieldUninstallString\"=\"C:\\\\A.EXE /x\"\r\n" + kUninstall +
             "Tarvic Sound WinNT Suite]\r\n\"UninstallString\"=\"C:\\\\C.EXE\"\r\n");
  RemovePreviousSuite(m.platform());
  EXPECT_EQ(m.fields("start", "commandLine"), (std::vector<std::string>{"C:\\A.EXE /x -a"}));
}

TEST(WriteResumeMarkers, BothCasesByteForByte) {
  SimMachine wdm;
  wdm.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  WriteResumeMarkers(wdm.platform(), 1, 0);
  EXPECT_EQ(wdm.content("C:\\WINDOWS\\TVXSETUP.INI"), kWdmMarkers);
  EXPECT_EQ(wdm.machine.currentDir.str(), "C:\\PROGRA~1\\TARVIC\\W2K-ME");

  for (auto [driver, vxd] : {std::pair{1, 1}, std::pair{0, 0}}) {
    SimMachine other;
    other.file("C:\\WINDOWS\\TVXSETUP.INI", "[Need_To_InstallDriver]\r\nCommand=old\r\nInstall=YES\r\n");
    WriteResumeMarkers(other.platform(), driver, vxd);
    EXPECT_EQ(other.content("C:\\WINDOWS\\TVXSETUP.INI"),
              "[Need_To_InstallDriver]\r\nCommand=\r\nInstall=NO\r\n[Need_To_Reboot]\r\nInstall=YES\r\n");
  }
}

// The main dialog's form, on a machine whose main dialog is a window of its own.
struct DialogRun : SimMachine {
  explicit DialogRun(const char* os) : SimMachine(os) { dialog = sim.windows().addOwnWindow("Setup"); }
  SuiteStart run(InstallContext& ctx, int vxdFamily) {
    return InstallApplicationSuite(ctx, platform(), dialog, vxdFamily);
  }
  HWND dialog;
};

TEST(InstallApplicationSuite, DialogFormWritesTheMarkersThenStartsTheInstaller) {
  DialogRun m("win98se");
  m.machine.files.addDrive('E');
  m.program("E:\\Driver CD\\W2K-ME\\app\\Setup.exe");
  m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  InstallContext ctx = m.cdContext();
  ctx.sourceDir = "E:\\Driver CD\\";
  ctx.installDriver = 1;
  EXPECT_EQ(m.run(ctx, 0), SuiteStart::Started);
  ASSERT_EQ(m.happenings("hide").size(), 1u);
  EXPECT_EQ(m.fields("start", "commandLine"), (std::vector<std::string>{"\"E:\\Driver CD\\W2K-ME\\app\\Setup.exe\""}));
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVXSETUP.INI"), kWdmMarkers);
  EXPECT_EQ(m.machine.currentDir.str(), "C:\\PROGRA~1\\TARVIC\\W2K-ME") << "the installer starts there";
  EXPECT_FALSE(m.machine.restartRequested);
  // Every marker is written before the installer starts: it reads them at once.
  bool started = false;
  for (const auto& h : m.machine.log) {
    if (h.kind == "start") started = true;
    if (h.kind == "ini" && h.field("file") == "C:\\WINDOWS\\TVXSETUP.INI") {
      EXPECT_FALSE(started) << h.field("key");
    }
  }

  // The VxD driver, or no driver: the suite installer restarts Windows itself.
  for (auto [driver, vxd] : {std::pair{1, 1}, std::pair{0, 0}}) {
    DialogRun other("win98se");
    other.program("D:\\W2K-ME\\app\\Setup.exe");
    other.program("D:\\W95-98\\app\\Setup.exe");
    InstallContext c = other.cdContext();
    c.installDriver = driver;
    EXPECT_EQ(other.run(c, vxd), SuiteStart::Started);
    EXPECT_EQ(other.content("C:\\WINDOWS\\TVXSETUP.INI"), kRestartMarkers) << driver << vxd;
    EXPECT_EQ(other.fields("start", "program"),
              std::vector<std::string>{vxd == 1 ? "D:\\W95-98\\app\\Setup.exe" : "D:\\W2K-ME\\app\\Setup.exe"});
  }
}

TEST(InstallApplicationSuite, ARelativeProgramPathStillFindsTheInstallerAfterTheMarkers) {
  // Started as "cd\Setup.exe" from C:\; the WDM markers make the install folder the current one.
  DialogRun m("win98se");
  m.program("C:\\cd\\W2K-ME\\app\\Setup.exe");
  m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  InstallContext ctx = m.cdContext();
  m.machine.currentDir = *sim::parseAbsolutePath("C:\\");
  ctx.sourceDir = sourceDirOf("cd\\Setup.exe", true, m.platform());
  ctx.installDriver = 1;
  EXPECT_EQ(m.run(ctx, 0), SuiteStart::Started);
  EXPECT_EQ(m.fields("start", "program"), (std::vector<std::string>{"C:\\cd\\W2K-ME\\app\\Setup.exe"}))
      << "the launch found the installer";
}

TEST(InstallApplicationSuite, DialogFormAsksForTheCdUntilTheInstallerIsThere) {
  DialogRun retry("winme");
  // The person inserts the CD a second after the first prompt and answers OK twice.
  retry.machine.script = {{"message", "OK", 1, 300}, {"message", "OK", 2, 2000}};
  retry.machine.addEvent(1500, "CD inserted", [&] { retry.program("D:\\W95-98\\app\\Setup.exe"); });
  InstallContext ctx = retry.cdContext();
  EXPECT_EQ(retry.run(ctx, 1), SuiteStart::Started);
  const std::string prompt = std::string(kInsertCd) + " | Setup | OK, Cancel";
  EXPECT_EQ(retry.fields("message", "text|owner|buttons"), (std::vector<std::string>{prompt, prompt}));
  EXPECT_EQ(retry.fields("start", "commandLine"), (std::vector<std::string>{"D:\\W95-98\\app\\Setup.exe"}));
}

TEST(InstallApplicationSuite, DialogFormCancelLeavesTheDriverToFinishOnlyWhenTheDriverWasChosen) {
  // The driver's completion and restart are the driver run's: the suite's form only says so. A
  // prompt that cannot be shown is a Cancel, not a prompt asked for ever behind a hidden dialog.
  struct Row {
    const char* name;
    std::vector<std::string> answers;  // the person's, to the prompts in turn
    int installDriver;
    SuiteStart result;
    std::vector<std::string> boxes;  // text, buttons and answer of each
  };
  const std::string cancelled = std::string(kInsertCd) + " | OK, Cancel | Cancel";
  for (const Row& r : {
           Row{"with the driver", {"Cancel"}, 1, SuiteStart::DriverLeftToFinish, {cancelled}},
           Row{"applications only",
               {"Cancel"},
               0,
               SuiteStart::NotStarted,
               {cancelled, "Can not find the Tarvic Sound Suite setup program. | OK | OK"}},
           Row{"no prompt can be shown",
               {"fails", "fails"},
               1,
               SuiteStart::DriverLeftToFinish,
               {std::string(kInsertCd) + " | OK, Cancel | (could not be shown)"}},
       }) {
    DialogRun m("win98se");
    for (const auto& answer : r.answers) {
      m.machine.script.push_back({"message", answer, static_cast<int>(m.machine.script.size()) + 1});
    }
    InstallContext ctx = m.cdContext();
    ctx.installDriver = r.installDriver;
    EXPECT_EQ(m.run(ctx, 0), r.result) << r.name;
    EXPECT_EQ(m.fields("message", "text|buttons|answer"), r.boxes) << r.name;
    EXPECT_FALSE(m.machine.restartRequested) << r.name;
    EXPECT_TRUE(m.happenings("start").empty()) << r.name;
    EXPECT_FALSE(m.exists("C:\\WINDOWS\\TVXSETUP.INI")) << r.name;
  }
}

TEST(InstallApplicationSuite, AnInstallerThatIsThereButDoesNotStartIsToldSoAndAStagedDriverIsLeftToFinish) {
  // The file opens, but Windows does not start it (it is no program).
  const char* notStarted = "Can not start the Tarvic Sound Suite setup program. | Setup | OK";
  for (const int installDriver : {1, 0}) {
    DialogRun m("win98se");
    m.file("D:\\W2K-ME\\app\\Setup.exe", "not a program");
    m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
    InstallContext ctx = m.cdContext();
    ctx.installDriver = installDriver;
    EXPECT_EQ(m.run(ctx, 0), installDriver != 0 ? SuiteStart::DriverLeftToFinish : SuiteStart::NotStarted)
        << installDriver;
    EXPECT_EQ(m.fields("message", "text|owner|buttons"), std::vector<std::string>{notStarted}) << installDriver;
    EXPECT_EQ(m.fields("start failed", "commandLine"), std::vector<std::string>{"D:\\W2K-ME\\app\\Setup.exe"});
    EXPECT_FALSE(m.machine.restartRequested) << installDriver << ": the driver run restarts, not the suite's form";
  }
  // The "/AP" flow: an installer that does not start, and one that is not there, each told as it is.
  for (const bool there : {true, false}) {
    SimMachine m("win98");
    if (there) m.file("D:\\W95-98\\app\\Setup.exe", "not a program");
    InstallContext ctx = m.cdContext();
    EXPECT_THROW(InstallApplicationSuiteFromCommandLine(ctx, m.platform()), sim::ProcessExitRequest);
    EXPECT_EQ(m.fields("message", "text|owner"),
              std::vector<std::string>{there ? "Can not start the Tarvic Sound Suite setup program. | none"
                                             : "Can not find the Tarvic Sound Suite setup program. | none"});
  }
}

}  // namespace
}  // namespace tvx
