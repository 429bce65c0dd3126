#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/core/SourceDir.h"
#include "src/suite/ApplicationSuite.h"

namespace tvx {
namespace {

using test::SimMachine;

const char* kAudio = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio]\r\n";
const char* kDefaultAudio = "[HKEY_USERS\\.Default\\Software\\Microsoft\\Multimedia\\Audio]\r\n";

std::string valueText(SimMachine& m, HKEY root, const char* path, const char* name) {
  sim::RegKey* key = m.machine.registry.find(m.machine.registry.root(root), path);
  const sim::RegValue* v = key != nullptr ? key->value(name) : nullptr;
  return v != nullptr ? v->text() : "(none)";
}

InstallContext onCd(SimMachine& m) {
  InstallContext ctx;
  classifyOs(ctx, m.platform().system);
  ctx.sourceDir = "D:\\";
  return ctx;
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
    ApplyStartupAudioSettings(onCd(m), m.platform());
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
  ApplyStartupAudioSettings(onCd(m), m.platform());
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=1\r\n");
  EXPECT_EQ(valueText(m, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarvic Sound Suite"),
            "(none)");
  EXPECT_EQ(valueText(m, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Other"),
            "other.exe");
  EXPECT_FALSE(m.hasKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Multimedia\\Audio")) << "nothing is created";

  SimMachine none;
  ApplyStartupAudioSettings(onCd(none), none.platform());
  EXPECT_EQ(none.content("C:\\WINDOWS\\TVCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=0\r\n");
  EXPECT_EQ(none.sim.registry().openHandles(), 0u);
}

TEST(CloseSuiteWindows, TheConsoleAloneWhenItRuns) {
  SimMachine m;
  m.machine.windows = {{"CD Player", "", false, true}, {"SoundDeck", "", false, true}, {"MP3 Player", "", false, true}};
  CloseSuiteWindows(m.platform());
  auto closes = m.happenings("close");
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].field("window"), "SoundDeck");
  EXPECT_EQ(m.machine.now, 500u);

  SimMachine players;
  players.machine.windows = {{"MP3 Player", "", false, true}, {"CD Player", "", false, true}};
  CloseSuiteWindows(players.platform());
  closes = players.happenings("close");
  ASSERT_EQ(closes.size(), 2u);
  EXPECT_EQ(closes[0].field("window"), "CD Player");
  EXPECT_EQ(closes[1].field("window"), "MP3 Player");
  EXPECT_EQ(players.machine.now, 0u);
}

TEST(RemovePreviousSuite, RunsTheUninstallStringAndWaitsForItsEnd) {
  SimMachine m;
  m.program("C:\\Program Files\\Suite\\Uninst.exe");
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvic Sound WinNT Suite]\r\n"
      "\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\Suite\\\\Uninst.exe\\\" -f\\\"C:\\\\x.isu\\\"\"\r\n");
  m.machine.programs["C:\\PROGRAM FILES\\SUITE\\UNINST.EXE"] = sim::ProgramBehaviour{2500, 300, 0, {}, {}};
  RemovePreviousSuite(m.platform());
  auto starts = m.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "\"C:\\Program Files\\Suite\\Uninst.exe\" -f\"C:\\x.isu\" -a");
  EXPECT_EQ(starts[0].field("how"), "CreateProcessA");
  EXPECT_GE(m.machine.now, 2500u) << "returns only after the uninstaller ended";
  EXPECT_LT(m.machine.now, 2600u);
  EXPECT_EQ(m.sim.processes().openHandles(), 0u);
  EXPECT_EQ(m.sim.registry().openHandles(), 0u);

  // An uninstaller that ends with exit code 259 (STILL_ACTIVE) has ended all the same.
  SimMachine odd;
  odd.program("C:\\U.EXE");
  odd.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvic Sound Suite]\r\n"
      "\"UninstallString\"=\"C:\\\\U.EXE\"\r\n");
  odd.machine.programs["C:\\U.EXE"] = sim::ProgramBehaviour{4200, 0, STILL_ACTIVE, {}, {}};
  RemovePreviousSuite(odd.platform());
  EXPECT_EQ(odd.machine.now, 4200u);
  EXPECT_EQ(odd.sim.processes().openHandles(), 0u);
}

TEST(RemovePreviousSuite, PrefersTheInstallerStringOfTheFirstKey) {
  SimMachine m;
  m.program("C:\\A.EXE");
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvic Sound Suite]\r\n"
      "\"UninstallString\"=\"C:\\\\B.EXE\"\r\n\"InstallShieldUninstallString\"=\"C:\\\\A.EXE /x\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvic Sound WinNT Suite]\r\n"
      "\"UninstallString\"=\"C:\\\\C.EXE\"\r\n");
  RemovePreviousSuite(m.platform());
  auto starts = m.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "C:\\A.EXE /x -a");
}

TEST(WriteResumeMarkers, BothCasesByteForByte) {
  SimMachine wdm;
  wdm.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  WriteResumeMarkers(wdm.platform(), 1, 0);
  EXPECT_EQ(wdm.content("C:\\WINDOWS\\TVXSETUP.INI"),
            "[Need_To_Reboot]\r\nInstall=NO\r\n[Need_To_InstallDriver]\r\nInstall=YES\r\n"
            "Command=C:\\PROGRA~1\\TARVIC\\W2K-ME\\MESetup.dat\r\n");
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
  InstallContext ctx = onCd(m);
  ctx.sourceDir = "E:\\Driver CD\\";
  ctx.installDriver = 1;
  EXPECT_EQ(m.run(ctx, 0), SuiteStart::Started);
  ASSERT_EQ(m.happenings("hide").size(), 1u);
  auto starts = m.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "\"E:\\Driver CD\\W2K-ME\\app\\Setup.exe\"");
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVXSETUP.INI"),
            "[Need_To_Reboot]\r\nInstall=NO\r\n[Need_To_InstallDriver]\r\nInstall=YES\r\n"
            "Command=C:\\PROGRA~1\\TARVIC\\W2K-ME\\MESetup.dat\r\n");
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
    InstallContext c = onCd(other);
    c.installDriver = driver;
    EXPECT_EQ(other.run(c, vxd), SuiteStart::Started);
    EXPECT_EQ(other.content("C:\\WINDOWS\\TVXSETUP.INI"),
              "[Need_To_Reboot]\r\nInstall=YES\r\n[Need_To_InstallDriver]\r\nInstall=NO\r\nCommand=\r\n");
    EXPECT_EQ(other.happenings("start")[0].field("program"),
              vxd == 1 ? "D:\\W95-98\\app\\Setup.exe" : "D:\\W2K-ME\\app\\Setup.exe");
  }
}

TEST(InstallApplicationSuite, ARelativeProgramPathStillFindsTheInstallerAfterTheMarkers) {
  // Started as "cd\Setup.exe" from C:\; the WDM markers make the install folder the current one.
  DialogRun m("win98se");
  m.program("C:\\cd\\W2K-ME\\app\\Setup.exe");
  m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  InstallContext ctx = onCd(m);
  m.machine.currentDir = *sim::parseAbsolutePath("C:\\");
  ctx.sourceDir = sourceDirOf("cd\\Setup.exe", true, m.platform());
  ctx.installDriver = 1;
  EXPECT_EQ(m.run(ctx, 0), SuiteStart::Started);
  auto starts = m.happenings("start");
  ASSERT_EQ(starts.size(), 1u) << "the launch found the installer";
  EXPECT_EQ(starts[0].field("program"), "C:\\cd\\W2K-ME\\app\\Setup.exe");
}

TEST(InstallApplicationSuite, DialogFormAsksForTheCdUntilTheInstallerIsThere) {
  DialogRun retry("winme");
  // The person inserts the CD a second after the first prompt and answers OK twice.
  retry.machine.script = {{"message", "OK", 1, 300}, {"message", "OK", 2, 2000}};
  retry.machine.addEvent(1500, "CD inserted", [&] { retry.program("D:\\W95-98\\app\\Setup.exe"); });
  InstallContext ctx = onCd(retry);
  EXPECT_EQ(retry.run(ctx, 1), SuiteStart::Started);
  auto boxes = retry.happenings("message");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].field("text"),
            "Can not find the Tarvic Sound Suite setup program.\n Please insert the installation CD now.");
  EXPECT_EQ(boxes[0].field("owner"), "Setup");
  EXPECT_EQ(boxes[0].field("buttons"), "OK, Cancel");
  auto starts = retry.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "D:\\W95-98\\app\\Setup.exe");
}

TEST(InstallApplicationSuite, DialogFormCancelLeavesTheDriverToFinishOnlyWhenTheDriverWasChosen) {
  // The driver's completion and restart are the driver run's: the suite's form only says so.
  DialogRun withDriver("win98se");
  withDriver.machine.script = {{"message", "Cancel", 1}};
  InstallContext ctx = onCd(withDriver);
  ctx.installDriver = 1;
  EXPECT_EQ(withDriver.run(ctx, 0), SuiteStart::DriverLeftToFinish);
  auto boxes = withDriver.happenings("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(withDriver.machine.restartRequested);
  EXPECT_TRUE(withDriver.happenings("start").empty());
  EXPECT_FALSE(withDriver.exists("C:\\WINDOWS\\TVXSETUP.INI"));

  DialogRun appsOnly("win98se");
  appsOnly.machine.script = {{"message", "Cancel", 1}};
  InstallContext apps = onCd(appsOnly);
  EXPECT_EQ(appsOnly.run(apps, 0), SuiteStart::NotStarted);
  boxes = appsOnly.happenings("message");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].field("text"), "Can not find the Tarvic Sound Suite setup program.");
  EXPECT_EQ(boxes[1].field("buttons"), "OK");
  EXPECT_FALSE(appsOnly.machine.restartRequested);
  EXPECT_TRUE(appsOnly.happenings("start").empty());

  // A prompt that cannot be shown is a Cancel, not a prompt asked for ever behind a hidden dialog.
  DialogRun noBox("win98se");
  noBox.machine.script = {{"message", "fails", 1}, {"message", "fails", 2}};
  InstallContext driver = onCd(noBox);
  driver.installDriver = 1;
  EXPECT_EQ(noBox.run(driver, 0), SuiteStart::DriverLeftToFinish);
  boxes = noBox.happenings("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].field("answer"), "(could not be shown)");
}

}  // namespace
}  // namespace tvx
