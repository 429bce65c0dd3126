#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/app/CSetupApp.h"

namespace tvx {
namespace {

using test::SimMachine;

InstallContext contextFor(const char* os) {
  SimMachine m(os);
  InstallContext ctx;
  classifyOs(ctx, m.platform().system);
  return ctx;
}

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
    InstallContext ctx = contextFor(r.os);
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
    InstallContext ctx = contextFor(r.os);
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

// The suite installer chosen on a CD in D:\ that holds the given installers.
InstallContext appSetupFor(const char* os, int vxdFamily, std::initializer_list<const char*> installers) {
  SimMachine m(os);
  for (const char* installer : installers) m.file(std::string("D:\\") + installer);
  InstallContext ctx;
  classifyOs(ctx, m.platform().system);
  ctx.sourceDir = "D:\\";
  chooseAppSetupPath(ctx, m.platform().files, vxdFamily);
  return ctx;
}

TEST(AppSetupPath, FallsBackToTheWdmSuiteOnTheWindows95FamilyOnly) {
  InstallContext me = appSetupFor("winme", 1, {"W2K-ME\\app\\Setup.exe"});
  EXPECT_EQ(me.appSetupPath, "D:\\W2K-ME\\app\\Setup.exe");
  EXPECT_EQ(me.appSetupFound, 1);

  InstallContext nt = appSetupFor("nt40", 0, {"W2K-ME\\app\\Setup.exe"});
  EXPECT_EQ(nt.appSetupPath, "D:\\NT40\\app\\Setup.exe");
  EXPECT_EQ(nt.appSetupFound, 0);

  InstallContext win95 = appSetupFor("win95", 0, {"W95-98\\app\\Setup.exe", "W2K-ME\\app\\Setup.exe"});
  EXPECT_EQ(win95.appSetupPath, "D:\\W95-98\\app\\Setup.exe");

  InstallContext none = appSetupFor("win98se", 1, {});
  EXPECT_EQ(none.appSetupPath, "D:\\W2K-ME\\app\\Setup.exe");
  EXPECT_EQ(none.appSetupFound, 0);
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

TEST(HandOff, StartsTheDatInstallerAndPassesTheDriverSwitch) {
  StartupRun run("win2k", "D:\\Setup.exe", "/driver");
  run.program("D:\\W2KSetup.dat");
  run.program("D:\\W2KSetup.exe");
  run.run();
  auto starts = run.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "D:\\W2KSetup.dat /DRIVER");
  EXPECT_EQ(starts[0].field("how"), "WinExec");
  EXPECT_TRUE(run.happenings("message").empty());
  EXPECT_FALSE(run.exited) << "the hand-off returns to the framework";
}

TEST(HandOff, DriverOnlyOptionAddsTheSwitchAndExeIsTheSecondChoice) {
  StartupRun run("winxp");
  run.program("D:\\W2KSetup.exe");
  run.file("D:\\setup.ini", "[InstallOption]\r\nDriverOnly=1\r\n");
  run.run();
  auto starts = run.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "D:\\W2KSetup.exe /DRIVER");
}

TEST(HandOff, APathWithABlankIsQuoted) {
  StartupRun run("winxp", "E:\\Driver CD\\Setup.exe", "DRIVER");
  run.machine.files.addDrive('E');
  run.program("E:\\Driver CD\\Setup.exe");
  run.program("E:\\Driver CD\\W2KSetup.dat");
  run.program("E:\\Driver.exe");
  run.run();
  auto starts = run.happenings("start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].field("commandLine"), "\"E:\\Driver CD\\W2KSetup.dat\" /DRIVER");
  EXPECT_EQ(starts[0].field("program"), "E:\\Driver CD\\W2KSetup.dat");
}

TEST(HandOff, MissingInstallerIsReportedAndNothingStarts) {
  StartupRun run("winxp", "D:\\Setup.exe", "/AP /DRIVER");
  run.run();
  auto boxes = run.happenings("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].field("text"), "Can not find the setup program for Windows 2000/XP.");
  EXPECT_EQ(boxes[0].field("caption"), "Setup");
  EXPECT_EQ(boxes[0].field("owner"), "none");
  EXPECT_EQ(boxes[0].field("buttons"), "OK");
  EXPECT_TRUE(run.happenings("start").empty());
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
