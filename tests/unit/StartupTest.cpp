#include <gtest/gtest.h>

#include "DriverCd.h"
#include "src/app/CSetupApp.h"

namespace tvx {
namespace {

using test::SimMachine;

TEST(StartupFlow, FirstMatchingRowWins) {
  struct Row {
    const char* os;
    int webSetup, driverOnly;
    const char* tail;
    StartupFlow flow;
  };
  for (const Row& r : {
           Row{"win98", 0, 0, "", StartupFlow::MainDialog},
           Row{"winme", 0, 0, "/DRIVER", StartupFlow::DriverOnlyFromCd},
           Row{"winxp", 0, 0, "/AP", StartupFlow::ApplicationSuite},
           Row{"win2k", 0, 1, "", StartupFlow::HandOffToW2K},
           Row{"win2k", 2, 0, "/AP", StartupFlow::HandOffToW2K},
           Row{"win95", 1, 0, "", StartupFlow::OptionDialog},
           Row{"nt40", 2, 0, "", StartupFlow::WebPackage},
           Row{"win98", 1, 0, "/DRIVER", StartupFlow::OptionDialog},
           Row{"win98se", 0, 0, "-AP", StartupFlow::ApplicationSuite},
           Row{"win98se", 0, 0, "AP ", StartupFlow::MainDialog},
           Row{"win98se", 0, 0, "/DRIVER /AP", StartupFlow::MainDialog},
           Row{"win98se", 0, 1, "DRIVER", StartupFlow::DriverOnlyFromCd},
           Row{"winme", 0, 1, "", StartupFlow::DriverOnlyFromCd},  // DriverOnly alone, without a switch
           Row{"win98", 1, 1, "", StartupFlow::OptionDialog},
           Row{"nt40", 0, 0, "-DRIVER", StartupFlow::DriverOnlyFromCd},
       }) {
    InstallContext ctx = SimMachine(r.os).cdContext();
    ctx.webSetup = r.webSetup;
    ctx.driverOnly = r.driverOnly;
    EXPECT_EQ(chooseStartupFlow(ctx, r.tail), r.flow)
        << r.os << " webSetup " << r.webSetup << " tail '" << r.tail << "'";
  }
}

TEST(DriverFamily, RulesMDAndWFollowTheOptions) {
  struct Row {
    const char* os;
    int me, se, wdm;
    int m, d, w;
  };
  for (const Row& r : {Row{"win95", 1, 1, 1, 1, 1, 1}, Row{"win98", 1, 1, 1, 1, 0, 1}, Row{"win98", 1, 0, 0, 1, 1, 1},
                       Row{"win98se", 1, 0, 0, 1, 1, 1}, Row{"win98se", 0, 1, 0, 0, 0, 1},
                       Row{"win98se", 0, 0, 1, 1, 1, 0}, Row{"winme", 1, 0, 0, 0, 0, 1}, Row{"winme", 0, 1, 1, 1, 1, 0},
                       Row{"nt40", 0, 0, 0, 0, 0, 0}, Row{"winxp", 0, 0, 0, 0, 0, 0}}) {
    InstallContext ctx = SimMachine(r.os).cdContext();
    ctx.windowsMEDriver = r.me;
    ctx.windows98SEDriver = r.se;
    ctx.installWDMDriver = r.wdm;
    EXPECT_EQ(chooseDriverFamily(ctx, DriverFamilyRule::MainDialog), r.m) << r.os << " main dialog";
    EXPECT_EQ(chooseDriverFamily(ctx, DriverFamilyRule::CdDriverOnly), r.d) << r.os << " CD driver only";
    EXPECT_EQ(chooseDriverFamily(ctx, DriverFamilyRule::WebPackage), r.w) << r.os << " web package";
  }
}

TEST(InstallOptions, MissingFileGivesTheDefaults) {
  SimMachine m;
  InstallContext ctx;
  ctx.sourceDir = "D:\\";
  readInstallOptions(ctx, m.platform().profiles);
  EXPECT_EQ(ctx.windowsMEDriver, 1);
  EXPECT_EQ(ctx.windows98SEDriver, 0);
  EXPECT_EQ(ctx.webSetup + ctx.driverOnly + ctx.installWDMDriver, 0);
  m.file("D:\\setup.ini", "[InstallOption]\r\nWebSetup=2 (flat)\r\nWindowsMEDriver=no\r\nInstallWDMDriver=1\r\n");
  readInstallOptions(ctx, m.platform().profiles);
  EXPECT_EQ(ctx.webSetup, 2);
  EXPECT_EQ(ctx.windowsMEDriver, 0);
  EXPECT_EQ(ctx.installWDMDriver, 1);
}

TEST(AppSetupPath, FallsBackToTheWdmSuiteOnTheWindows95FamilyOnly) {
  struct Row {
    const char* os;
    int vxdFamily;
    std::vector<const char*> installers;  // on the CD
    const char* path;
    int found;
  };
  const char* wdm = "W2K-ME\\app\\Setup.exe";
  for (const Row& r :
       {Row{"winme", 1, {wdm}, "D:\\W2K-ME\\app\\Setup.exe", 1}, Row{"nt40", 0, {wdm}, "D:\\NT40\\app\\Setup.exe", 0},
        Row{"win95", 0, {"W95-98\\app\\Setup.exe", wdm}, "D:\\W95-98\\app\\Setup.exe", 1},
        Row{"win98se", 1, {}, "D:\\W2K-ME\\app\\Setup.exe", 0}}) {
    SimMachine m(r.os);
    for (const char* installer : r.installers) m.file(std::string("D:\\") + installer);
    InstallContext ctx = m.cdContext();
    chooseAppSetupPath(ctx, m.platform().files, r.vxdFamily);
    EXPECT_EQ(ctx.appSetupPath, r.path) << r.os;
    EXPECT_EQ(ctx.appSetupFound, r.found) << r.os;
  }
}

TEST(AppSetupPath, AnInstallerThatWindowsListsButThatDoesNotOpenIsNotThere) {
  // A file is there when it opens for reading: the installer meant for this Windows that does not
  // open this once gives way to the fallback, as a missing one does.
  SimMachine m("win98se");
  m.file("D:\\W95-98\\app\\Setup.exe");
  m.file("D:\\W2K-ME\\app\\Setup.exe");
  InstallContext ctx = m.cdContext();
  m.machine.faults.failFirst = "fopen";
  chooseAppSetupPath(ctx, m.platform().files, 1);
  EXPECT_EQ(ctx.appSetupPath, "D:\\W2K-ME\\app\\Setup.exe");
  EXPECT_EQ(ctx.appSetupFound, 1);
  EXPECT_EQ(m.machine.faults.failedCall, "fopen");

  // On NT 4.0, with no fallback: not found.
  SimMachine nt("nt40");
  nt.file("D:\\NT40\\app\\Setup.exe");
  InstallContext ntCtx = nt.cdContext();
  nt.machine.faults.failFirst = "fopen";
  chooseAppSetupPath(ntCtx, nt.platform().files, 0);
  EXPECT_EQ(ntCtx.appSetupPath, "D:\\NT40\\app\\Setup.exe");
  EXPECT_EQ(ntCtx.appSetupFound, 0);
}

// The whole start-up, on a machine whose CD is in `cdFolder` of drive D.
struct StartupRun : SimMachine {
  explicit StartupRun(const char* os, const std::string& program = "D:\\Setup.exe", const std::string& args = "")
      : SimMachine(os) {
    file(program);
    machine.commandLine =
        (program.find(' ') != std::string::npos ? "\"" + program + "\"" : program) + (args.empty() ? "" : " " + args);
    machine.modulePath = program;
  }
  void run() {
    CSetupApp app(platform());
    try {
      app.Run();
    } catch (const sim::ProcessExitRequest&) {
      exited = true;
    }
  }
  bool exited = false;
};

TEST(HandOff, TheWindows2000InstallerIsStartedWithTheDriverSwitchOrMissedAloud) {
  struct Row {
    const char* os;
    const char* program;  // Setup.exe, and its command line's tail
    const char* args;
    std::vector<const char*> installers;  // the programs beside it
    std::string outcome;                  // the programs started and the messages shown
    const char* setupIni = "";
  };
  const char* dat = "D:\\W2KSetup.dat";
  const char* exe = "D:\\W2KSetup.exe";
  for (const Row& r : {
           // The .dat installer comes first; DriverOnly of setup.ini adds the switch.
           Row{"win2k", "D:\\Setup.exe", "/driver", {dat, exe}, "WinExec D:\\W2KSetup.dat /DRIVER;"},
           Row{"winxp", "D:\\Setup.exe", "", {exe}, "WinExec D:\\W2KSetup.exe /DRIVER;", "DriverOnly=1"},
           // A path with a blank is quoted: the program named by its first word does not start.
           Row{"winxp",
               "E:\\Driver CD\\Setup.exe",
               "DRIVER",
               {"E:\\Driver CD\\Setup.exe", "E:\\Driver CD\\W2KSetup.dat", "E:\\Driver.exe"},
               "WinExec \"E:\\Driver CD\\W2KSetup.dat\" /DRIVER (E:\\Driver CD\\W2KSetup.dat);"},
           Row{"winxp",
               "D:\\Setup.exe",
               "/AP /DRIVER",
               {},
               "message Can not find the setup program for Windows 2000/XP. | Setup | none | OK;"},
       }) {
    StartupRun run(r.os, r.program, r.args);
    if (r.program[0] == 'E') run.machine.files.addDrive('E');
    for (const char* installer : r.installers) run.program(installer);
    if (*r.setupIni != '\0') run.file("D:\\setup.ini", std::string("[InstallOption]\r\n") + r.setupIni + "\r\n");
    run.run();
    std::string outcome;
    for (const auto& h : run.machine.log) {
      if (h.kind == "start") {  // with the program Windows took where a blank left it a choice
        const std::string program = h.field("program");
        outcome += h.field("how") + " " + h.field("commandLine") +
                   (program.find(' ') != std::string::npos ? " (" + program + ")" : "") + ";";
      }
      if (h.kind == "message") {
        outcome += "message " + h.field("text") + " | " + h.field("caption") + " | " + h.field("owner") + " | " +
                   h.field("buttons") + ";";
      }
    }
    EXPECT_EQ(outcome, r.outcome) << r.os << " " << r.program << " " << r.args << " " << r.setupIni;
    EXPECT_FALSE(run.exited) << r.os << " " << r.args << ": the hand-off returns to the framework";
  }
}

TEST(HandOff, AnInstallerThatIsThereButDoesNotStartIsToldSo) {
  StartupRun run("winxp");
  run.file("D:\\W2KSetup.dat", "not a program");
  run.run();
  EXPECT_EQ(run.fields("start failed", "commandLine"), std::vector<std::string>{"D:\\W2KSetup.dat"});
  EXPECT_EQ(run.fields("message", "text|caption|owner"),
            std::vector<std::string>{"Can not start the setup program for Windows 2000/XP. | Setup | none"});
  EXPECT_FALSE(run.exited);
}

TEST(Startup, AWindowsWhoseVersionCannotBeReadGoesAsOneNoFlagNames) {
  // Every flag clear: no hand-off, the suite installer of the Windows no flag names (the WDM
  // family's), the main dialog and the option dialogs; a driver run refuses it, and says why.
  const char* unknown = "Can not tell the version of Windows. The driver can not be installed.";
  struct Row {
    const char* os;
    const char* args;
    const char* setupIni;
    std::vector<std::pair<std::string, std::string>> clicks;
    std::string started;  // the suite installer, or empty
    std::string message;  // or empty
    std::string dialog;   // the dialog shown, or empty
  };
  for (const Row& r : {
           Row{"winxp", "/AP", "", {}, "D:\\W2K-ME\\app\\Setup.exe", "", ""},
           Row{"win98", "", "", {{"click", "1002"}, {"click", "1"}}, "D:\\W2K-ME\\app\\Setup.exe", "", "102"},
           Row{"winxp", "", "", {{"click", "2"}}, "", "", "102"},
           Row{"winme", "", "", {{"click", "1"}}, "", unknown, "102"},
           Row{"winme", "/DRIVER", "", {}, "", unknown, ""},
           Row{"win98se", "", "WebSetup=2", {}, "", unknown, ""},
           Row{"win98se", "", "WebSetup=1", {{"click", "1"}}, "", unknown, "103"},
       }) {
    const std::string name = std::string(r.os) + " '" + r.args + "' " + r.setupIni;
    StartupRun run(r.os, "D:\\Setup.exe", r.args);
    run.machine.versionQueryFails = true;
    for (const char* folder : {"W95-98", "W2K-ME", "NT40"})
      run.program(std::string("D:\\") + folder + "\\app\\Setup.exe");
    run.program("D:\\W2KSetup.exe");
    run.file("D:\\TVAUDIO.INF", test::kVxdInf);
    run.file("D:\\W95-98\\drv\\98\\TVAUDIO.INF", test::kVxdInf);
    run.file("D:\\W2K-ME\\drv\\TVAUDIO.INF", test::kWdmInf);
    if (*r.setupIni != '\0') run.file("D:\\setup.ini", std::string("[InstallOption]\r\n") + r.setupIni + "\r\n");
    run.script(r.clicks);
    run.run();
    EXPECT_EQ(run.fields("start", "commandLine"),
              r.started.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.started})
        << name;
    EXPECT_EQ(run.fields("message", "text"),
              r.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.message})
        << name;
    const auto shown = run.fields("dialog", "dialog");
    EXPECT_EQ(shown.empty() ? "" : shown.front(), r.dialog) << name;
    EXPECT_FALSE(run.exists("C:\\Program Files\\Tarvic")) << name << ": no driver staged";
  }
}

TEST(DriverOnlyFlow, EndsSilentlyOnNt4FromTheCdAndFromAFlatPackage) {
  StartupRun cd("nt40", "D:\\Setup.exe", "/DRIVER");
  cd.run();
  EXPECT_TRUE(cd.exited);
  EXPECT_EQ(cd.machine.exitCode, 0);
  ASSERT_FALSE(cd.machine.log.empty());
  EXPECT_EQ(cd.machine.log.back().kind, "exit");
  for (std::size_t i = 0; i + 1 < cd.machine.log.size(); ++i) {
    // Only the start-up settings that every start applies come before the end.
    EXPECT_EQ(cd.machine.log[i].kind, "ini");
    EXPECT_EQ(cd.machine.log[i].field("file"), "C:\\WINDOWS\\TVCDPLAY.INI");
  }

  StartupRun web("nt40");
  web.file("D:\\setup.ini", "[InstallOption]\r\nWebSetup=2\r\n");
  web.run();
  EXPECT_TRUE(web.exited);
  EXPECT_TRUE(web.happenings("message").empty());
  EXPECT_FALSE(web.machine.restartRequested);
}

}  // namespace
}  // namespace tvx
