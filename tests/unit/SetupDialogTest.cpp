// The main selection dialog, the architecture dialog and the About box, run by the start-up on
// a simulated machine with the program's own templates and the person's clicks from the script.
#include <gtest/gtest.h>

#include "DriverCd.h"
#include "FailingCalls.h"
#include "src/app/CSetupApp.h"
#include "src/ui/CSetupDlg.h"
#include "src/ui/Dialogs.h"

namespace tvx {
namespace {

struct Cd : test::SimMachine {
  explicit Cd(const char* os, const std::string& setupIni = "") : SimMachine(os) {
    machine.commandLine = machine.modulePath = "D:\\SETUP.EXE";
    machine.currentDir = *sim::parseAbsolutePath("D:\\");
    file("D:\\SETUP.EXE");
    for (const char* folder : {"W95-98", "W2K-ME", "NT40"})
      file(std::string("D:\\") + folder + "\\app\\Setup.exe", "MZ");
    if (!setupIni.empty()) file("D:\\setup.ini", "[InstallOption]\r\n" + setupIni);
  }
  void scoped(const std::string& kind, const std::string& value, const std::string& dialog) {
    machine.script.push_back(sim::ScriptStep{kind, value, 0, 0, dialog});
  }
  // Runs the program; gives what its context held at the end.
  InstallContext run() {
    CSetupApp app(platform());
    try {
      machine.exitCode = app.Run();
    } catch (const sim::ProcessExitRequest&) {
    }
    return app.context();
  }
  std::vector<std::string> dialogsShown() const { return fields("dialog", "dialog"); }
  std::vector<std::string> started() const { return fields("start", "commandLine"); }
  std::string ending(const std::string& dialog) const {
    for (const auto& h : happenings("dialog end")) {
      if (h.field("dialog") == dialog) return h.field("result") + (h.field("beforeShown").empty() ? "" : " unseen");
    }
    return "(still open)";
  }
  // The CD's driver packages, and a card whose mixer is there at once.
  void withPackages() {
    for (const char* folder : {"W95-98\\drv\\95", "W95-98\\drv\\98"}) {
      file(std::string("D:\\") + folder + "\\TVAUDIO.INF", test::kVxdInf);
    }
    file("D:\\W2K-ME\\drv\\TVAUDIO.INF", test::kWdmInf);
    machine.mixerDevices = 1;
  }
  // The states the OK button went through after the dialog appeared.
  std::vector<std::string> okStates() const {
    std::vector<std::string> out;
    for (const auto& h : happenings("control")) {
      if (h.field("control") == "1 \"OK\"") out.push_back(h.field("state"));
    }
    return out;
  }
};

TEST(SetupDialog, OkIsEnabledWhileAtLeastOneBoxIsChecked) {
  Cd m("win98se");
  m.script({{"click", "1001"},
            {"click", "1002"},
            {"click", "1002"},
            {"click", "1002"},
            {"key", "Return"},
            {"click", "1"},
            {"click", "1001"},
            {"click", "2"}});
  m.run();
  EXPECT_EQ(m.okStates(), (std::vector<std::string>{"disabled", "enabled", "disabled", "enabled"}));
  EXPECT_EQ(m.ending("102"), "Cancel");
  EXPECT_TRUE(m.started().empty());
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\TVXSETUP.INI"));
  const std::string shown = m.happenings("dialog")[0].field("controls");
  EXPECT_NE(shown.find("1001 \"Install Applications\" checked"), std::string::npos) << shown;
  EXPECT_NE(shown.find("1002 \"Install Device Driver\" checked"), std::string::npos) << shown;
  EXPECT_NE(shown.find("1003 \"Please wait .....\" hidden"), std::string::npos) << shown;
}

TEST(SetupDialog, OnNt40TheDriverBoxIsClearedAndDisabled) {
  Cd m("nt40");
  m.script({{"click", "1002"}, {"click", "1"}});
  m.run();
  const std::string shown = m.happenings("dialog")[0].field("controls");
  EXPECT_NE(shown.find("1002 \"Install Device Driver\" unchecked disabled"), std::string::npos) << shown;
  EXPECT_TRUE(m.okStates().empty()) << "the click on the disabled box changes nothing";
  EXPECT_EQ(m.started(), (std::vector<std::string>{"D:\\NT40\\app\\Setup.exe"}));
  EXPECT_EQ(m.ending("102"), "OK");
  EXPECT_FALSE(m.machine.restartRequested);
}

TEST(SetupDialog, TheArchitectureIsAskedOnlyWhereSetupIniSaysSo) {
  struct Row {
    const char* os;
    const char* ini;
    bool asked;
  };
  for (const Row& r :
       {Row{"winme", "WindowsMEDriverAskUser=1\r\n", true}, Row{"win98se", "Windows98SEDriverAskUser=2\r\n", true},
        Row{"winme", "Windows98SEDriverAskUser=1\r\n", false}, Row{"win98se", "WindowsMEDriverAskUser=1\r\n", false},
        Row{"win98", "Windows98SEDriverAskUser=1\r\nWindowsMEDriverAskUser=1\r\n", false},
        Row{"win95", "Windows98SEDriverAskUser=1\r\nWindowsMEDriverAskUser=1\r\n", false}, Row{"winme", "", false}}) {
    Cd m(r.os, r.ini);
    m.script({{"click", "2"}});
    m.run();
    EXPECT_EQ(m.dialogsShown().front() == "130", r.asked) << r.os << " " << r.ini;
  }
}

TEST(SetupDialog, TheArchitectureDialogStartsFromTheMainDialogRuleAndTheLastClickDecides) {
  Cd me("winme", "WindowsMEDriverAskUser=1\r\n");
  me.script({{"click", "1005"}, {"click", "1004"}, {"click", "1"}, {"click", "1002"}, {"click", "1"}});
  EXPECT_EQ(me.run().chosenVxdDriver, 1);
  const std::string arch = me.happenings("dialog")[0].field("controls");
  EXPECT_NE(arch.find("1004 \"Virtual-Device (VxD)\" unchecked"), std::string::npos) << arch;
  EXPECT_NE(arch.find("1005 \"Win32 Driver Model (WDM) \" checked"), std::string::npos) << arch;
  EXPECT_EQ(me.started(), (std::vector<std::string>{"D:\\W95-98\\app\\Setup.exe"})) << "the VxD suite installer";

  // The other way round, from the VxD preset of 98 SE: WDM last, so the WDM suite installer.
  Cd wdm("win98se", "Windows98SEDriverAskUser=1\r\nWindows98SEDriver=0\r\n");
  wdm.script({{"click", "1004"}, {"click", "1005"}, {"click", "1"}, {"click", "1002"}, {"click", "1"}});
  EXPECT_EQ(wdm.run().chosenVxdDriver, 0);
  EXPECT_EQ(wdm.started(), (std::vector<std::string>{"D:\\W2K-ME\\app\\Setup.exe"})) << "the WDM suite installer";

  Cd se("win98se", "Windows98SEDriverAskUser=1\r\nWindows98SEDriver=0\r\n");
  se.script({{"click", "1"}, {"click", "2"}});
  EXPECT_EQ(se.run().chosenVxdDriver, 1) << "OK without a click gives back what came in";
  const std::string preset = se.happenings("dialog")[0].field("controls");
  EXPECT_NE(preset.find("1004 \"Virtual-Device (VxD)\" checked"), std::string::npos) << preset;
}

TEST(SetupDialog, CancellingTheArchitectureEndsEverythingBeforeTheMainDialogShows) {
  for (const auto& [kind, value] : {std::pair{"click", "2"}, std::pair{"key", "Escape"}, std::pair{"close", ""}}) {
    const std::string how = std::string(kind) + " " + value;
    Cd m("winme", "WindowsMEDriverAskUser=1\r\n");
    m.script({{"click", "1004"}, {kind, value}});
    const InstallContext ctx = m.run();
    EXPECT_EQ(ctx.chosenVxdDriver, 0) << how << ": the WDM choice of the main dialog's rule stays";
    EXPECT_EQ(m.dialogsShown(), (std::vector<std::string>{"130"})) << how;
    EXPECT_EQ(m.ending("102"), "Cancel unseen") << how;
    EXPECT_TRUE(m.started().empty()) << how;
    EXPECT_TRUE(m.happenings("message").empty()) << how;
    EXPECT_EQ(m.machine.exitCode, 0) << how;
  }
}

TEST(SetupDialog, MissingInstallerEndsTheProcessBeforeTheDialogShows) {
  Cd m("winme");
  m.remove("D:\\W2K-ME");
  m.script({{"click", "1"}});
  m.run();
  EXPECT_EQ(m.fields("message", "text|caption|owner"),
            std::vector<std::string>{
                "Can not find installation files. | Setup | PCI Audio Device Driver And Applications Setup Program"});
  EXPECT_TRUE(m.dialogsShown().empty());
  EXPECT_EQ(m.machine.exitCode, 0);
  EXPECT_EQ(m.happenings("exit").size(), 1u) << "the process ended from inside the dialog";

  // The VxD choice on Me falls back to the WDM folder's installer when the VxD one is missing.
  Cd fallback("winme", "WindowsMEDriver=0\r\n");
  fallback.remove("D:\\W95-98");
  fallback.script({{"click", "1002"}, {"click", "1"}});
  fallback.run();
  EXPECT_EQ(fallback.started(), (std::vector<std::string>{"D:\\W2K-ME\\app\\Setup.exe"}));
}

TEST(SetupDialog, AVersionTheDialogCannotReadAgainLeavesTheStartUpsAnswer) {
  // The start-up read NT 4.0; the dialog's own read fails: the driver box stays disabled and the
  // suite installer of NT 4.0 starts.
  Cd m("nt40");
  InstallContext ctx = m.cdContext();
  ASSERT_EQ(ctx.isNT4, 1);
  m.machine.versionQueryFails = true;
  m.script({{"click", "1"}});
  CWinApp app(m.platform());
  app.m_programPath = "D:\\SETUP.EXE";
  RunSetupDialog(app, ctx, m.platform());
  const std::string shown = m.happenings("dialog")[0].field("controls");
  EXPECT_NE(shown.find("1002 \"Install Device Driver\" unchecked disabled"), std::string::npos) << shown;
  EXPECT_EQ(m.started(), (std::vector<std::string>{"D:\\NT40\\app\\Setup.exe"}));
}

TEST(SetupDialog, TheCdFolderIsFoundAsTheStartUpFindsIt) {
  // Started as "SETUP" from drive C: the path cannot tell the folder; the module's folder does.
  Cd m("win98se");
  m.machine.commandLine = "SETUP";
  m.machine.currentDir = *sim::parseAbsolutePath("C:\\");
  m.script({{"click", "1002"}, {"click", "1"}});
  EXPECT_EQ(m.run().sourceDir, "D:\\");
  EXPECT_TRUE(m.happenings("message").empty());
  EXPECT_EQ(m.started(), (std::vector<std::string>{"D:\\W95-98\\app\\Setup.exe"}));
}

TEST(SetupDialog, OkHidesTheBoxesShowsTheWaitTextThenWorks) {
  Cd m("win98se");
  m.script({{"click", "1002"}, {"click", "1"}});
  m.run();
  std::vector<std::string> order;
  for (const auto& h : m.machine.log) {
    if (h.kind == "control" || h.kind == "repaint" || h.kind == "hide" || h.kind == "start" || h.kind == "dialog end") {
      order.push_back(h.kind + " " +
                      (h.kind == "control" ? h.field("control") + " " + h.field("state")
                       : h.kind == "start" ? h.field("commandLine")
                                           : h.field("window") + h.field("result")));
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{
                       "control 1002 \"Install Device Driver\" unchecked",
                       "control 1001 \"Install Applications\" hidden",
                       "control 1002 \"Install Device Driver\" hidden",
                       "control 1003 \"Please wait .....\" shown",
                       "repaint dialog 102 control 1003",
                       "hide PCI Audio Device Driver And Applications Setup Program",
                       "start D:\\W95-98\\app\\Setup.exe",
                       "dialog end OK",
                   }));
  EXPECT_EQ(m.fields("repaint", "flags"),
            std::vector<std::string>{std::to_string(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW)});
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVXSETUP.INI"),
            "[Need_To_Reboot]\r\nInstall=YES\r\n[Need_To_InstallDriver]\r\nInstall=NO\r\nCommand=\r\n");
  // 200 ms after the repaint, then the suite's own 500 ms wait, before anything else.
  EXPECT_EQ(m.happenings("start")[0].at, 700u);
}

TEST(SetupDialog, TheAboutBoxAnswersItsMenuCommandWhateverTheLowBits) {
  struct Row {
    const char* command;
    bool about;
  };
  for (const Row& r :
       {Row{"about", true}, Row{"16", true}, Row{"19", true}, Row{"31", true}, Row{"32", false}, Row{"0", false}}) {
    Cd m("win98se");
    m.script({{"sysmenu", r.command}});
    if (r.about) m.scoped("key", "Escape", "About Setup");
    m.scoped("click", "2", "102");
    m.run();
    const auto shown = m.dialogsShown();
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "100") != shown.end(), r.about) << r.command;
    EXPECT_EQ(m.ending("102"), "Cancel") << r.command;
  }
  Cd m("win98se");
  m.run();
  EXPECT_EQ(m.happenings("dialog")[0].field("systemMenu"), "\"separator\", \"&About Setup...\"");
}

TEST(SetupDialog, TheMinimisedIconIsDrawnCentred) {
  struct Row {
    RECT client;
    int x, y;
  };
  for (const Row& r : {Row{{0, 0, 32, 32}, 0, 0}, Row{{0, 0, 33, 34}, 1, 1}, Row{{0, 0, 36, 35}, 2, 2},
                       Row{{10, 20, 50, 60}, 4, 4}, Row{{0, 0, 20, 10}, -5, -10}}) {
    const IconPosition at = centredIconPosition(r.client, 32, 32);
    EXPECT_EQ(at.x, r.x) << r.client.right - r.client.left;
    EXPECT_EQ(at.y, r.y) << r.client.bottom - r.client.top;
  }
  Cd m("win98se");
  m.script({{"minimize", ""}, {"click", "2"}});
  m.run();
  EXPECT_EQ(m.happenings("icon drawn").size(), 1u);
}

// What OK did, in order: the driver run's announcement, staging and completion, the dialog
// hidden for the suite, the programs started, the restart and the dialog's end.
std::vector<std::string> milestones(const Cd& m) {
  std::vector<std::string> out;
  auto add = [&out](const std::string& what) {
    if (out.empty() || out.back() != what) out.push_back(what);
  };
  for (const auto& h : m.machine.log) {
    if (h.kind == "message") add(h.field("text").substr(0, 16));
    if (h.kind == "copy" && h.field("to").find("Tarvic") != std::string::npos) add("staged");
    if (h.kind == "hide") add("dialog hidden");
    if (h.kind == "start" && h.field("commandLine").find("app\\Setup.exe") != std::string::npos) {
      add("started " + h.field("commandLine"));
    }
    if (h.kind == "restart") add("restart");
    if (h.kind == "dialog end" && h.field("dialog") == "102") add("ended " + h.field("result"));
  }
  return out;
}

TEST(SetupDialog, OkRunsItsStepsInOrderByChoiceAndSystem) {
  struct Row {
    const char* os;
    std::vector<const char*> clicks;
    std::vector<std::string> steps;
    const char* reboot;  // "Need_To_Reboot" "Install" in the markers, or "" for none
    const char* ini = "";
  };
  const std::string wdmSuite = "started D:\\W2K-ME\\app\\Setup.exe";
  const std::string vxdSuite = "started D:\\W95-98\\app\\Setup.exe";
  for (const Row& r : {
           Row{"win98se", {"1"}, {"staged", "dialog hidden", wdmSuite, "ended OK"}, "NO", "Windows98SEDriver=1\r\n"},
           Row{"win95", {"1"}, {"staged", "dialog hidden", vxdSuite, "ended OK"}, "YES"},
           Row{"win98se", {"1002", "1"}, {"dialog hidden", vxdSuite, "ended OK"}, "YES"},
           Row{"winme", {"1001", "1"}, {"The driver will ", "staged", "Setup completed!", "restart", "ended OK"}, ""},
           Row{"nt40", {"1"}, {"dialog hidden", "started D:\\NT40\\app\\Setup.exe", "ended OK"}, "YES"},
           Row{"winme", {"1001", "1002", "1", "2"}, {"ended Cancel"}, ""},
       }) {
    Cd m(r.os, r.ini);
    m.withPackages();
    for (const char* id : r.clicks) m.script({{"click", id}});
    m.run();
    EXPECT_EQ(milestones(m), r.steps) << r.os << " " << r.ini;
    const std::string markers = m.content("C:\\WINDOWS\\TVXSETUP.INI");
    if (*r.reboot == '\0') {
      EXPECT_EQ(markers, "(missing)") << r.os;
    } else {
      EXPECT_NE(markers.find(std::string("[Need_To_Reboot]\r\nInstall=") + r.reboot), std::string::npos)
          << r.os << ": " << markers;
    }
  }
}

TEST(SetupDialog, ASuiteInstallerThatDoesNotStartLeavesNoStagedDriverUnfinished) {
  // Both boxes: the driver staged, the suite installer there but no program Windows starts. The
  // person is told so, and the driver is finished as when the CD is given up at its prompt.
  for (const auto& [os, installer] : {std::pair<const char*, const char*>{"winme", "D:\\W2K-ME\\app\\Setup.exe"},
                                      {"win98se", "D:\\W95-98\\app\\Setup.exe"}}) {
    Cd m(os);
    m.withPackages();
    m.file(installer, "not a program");
    m.script({{"click", "1"}});
    m.run();
    EXPECT_EQ(milestones(m), (std::vector<std::string>{"staged", "dialog hidden", "Can not start th",
                                                       "Setup completed!", "restart", "ended OK"}))
        << os;
    EXPECT_EQ(m.fields("message", "text").front(), "Can not start the Tarvic Sound Suite setup program.") << os;
    EXPECT_TRUE(m.started().empty()) << os;
    EXPECT_EQ(m.happenings("oem inf").size(), std::string(os) == "winme" ? 1u : 0u)
        << os << ": the WDM driver is registered on Me";
  }
  // Applications alone: told, and nothing else happens.
  Cd apps("win98se");
  apps.file("D:\\W95-98\\app\\Setup.exe", "not a program");
  apps.script({{"click", "1002"}, {"click", "1"}});
  apps.run();
  EXPECT_EQ(milestones(apps), (std::vector<std::string>{"dialog hidden", "Can not start th", "ended Cancel"}));
  EXPECT_FALSE(apps.machine.restartRequested);
}

TEST(SetupDialog, AMarkerThatCannotBeWrittenIsToldAndNoInstallerStarts) {
  // Each of the three entries of TVXSETUP.INI refused alone, for the WDM driver left to the suite's
  // installer and for the applications alone: without them the installer would not know what is
  // left to do.
  const struct {
    const char* ini;
    std::vector<const char*> clicks;
  } choices[] = {{"Windows98SEDriver=1\r\n", {"1"}}, {"", {"1002", "1"}}};
  const std::pair<const char*, const char*> entries[] = {
      {"Need_To_Reboot", "Install"}, {"Need_To_InstallDriver", "Install"}, {"Need_To_InstallDriver", "Command"}};
  for (const auto& choice : choices) {
    for (const auto& [section, key] : entries) {
      const std::string name = std::string(choice.ini) + " [" + section + "] " + key;
      Cd m("win98se", choice.ini);
      m.withPackages();
      for (const char* id : choice.clicks) m.script({{"click", id}});
      test::FailingProfileWrites writes(m.platform(),
                                        [&](const std::string& file, const std::string& s, const std::string& k) {
                                          return file == "C:\\WINDOWS\\TVXSETUP.INI" && s == section && k == key;
                                        });
      const Platform p = test::withProfiles(m.platform(), writes);
      CSetupApp app(p);
      EXPECT_NO_THROW(app.Run()) << name;
      EXPECT_EQ(writes.refused, 1) << name;
      EXPECT_EQ(m.fields("message", "text"),
                std::vector<std::string>{"Can not complete the installation. Please run Setup again."})
          << name;
      EXPECT_TRUE(m.started().empty()) << name << ": no suite installer";
      EXPECT_FALSE(m.machine.restartRequested) << name;
      EXPECT_EQ(m.ending("102"), "Cancel") << name;
    }
  }
}

// The architecture dialog records what the person chose; the CD's driver run stages the family
// its own rule gives. Where the two differ, the suite and its markers follow what was staged.
TEST(SetupDialog, TheSuiteFollowsTheStagedFamilyNotTheChosenOne) {
  Cd m("winme", "WindowsMEDriverAskUser=1\r\n");
  m.withPackages();
  m.script({{"click", "1004"}, {"click", "1"}, {"click", "1"}});
  EXPECT_EQ(m.run().chosenVxdDriver, 1) << "the person chose VxD";
  EXPECT_EQ(milestones(m),
            (std::vector<std::string>{"staged", "dialog hidden", "started D:\\W2K-ME\\app\\Setup.exe", "ended OK"}));
  EXPECT_TRUE(m.exists("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF")) << "the WDM package was staged";
  const std::string markers = m.content("C:\\WINDOWS\\TVXSETUP.INI");
  EXPECT_NE(markers.find("[Need_To_Reboot]\r\nInstall=NO\r\n[Need_To_InstallDriver]\r\nInstall=YES\r\n"),
            std::string::npos)
      << markers;
}

}  // namespace
}  // namespace tvx
