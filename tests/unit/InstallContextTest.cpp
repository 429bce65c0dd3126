#include <gtest/gtest.h>

#include "src/core/InstallContext.h"
#include "src/core/SourceDir.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

struct ContextOn {
  sim::Machine machine;
  sim::SimPlatform sim{machine};
  InstallContext ctx;

  explicit ContextOn(const char* os) { machine.os = *sim::OsVersion::byName(os); }
  void classify() { classifyOs(ctx, sim.platform().system); }
};

TEST(ClassifyOs, EachWindowsVersionSetsItsFlags) {
  struct Row {
    const char* os;
    int win95, win98, win98se, winme, nt4, nt5;
  };
  for (const Row& r : {Row{"win95", 1, 0, 0, 0, 0, 0}, Row{"win98", 0, 1, 0, 0, 0, 0}, Row{"win98se", 0, 1, 1, 0, 0, 0},
                       Row{"winme", 0, 0, 0, 1, 0, 0}, Row{"nt40", 0, 0, 0, 0, 1, 0}, Row{"win2k", 0, 0, 0, 0, 0, 1},
                       Row{"winxp", 0, 0, 0, 0, 0, 1}}) {
    ContextOn c(r.os);
    c.classify();
    EXPECT_EQ(c.ctx.isWin95, r.win95) << r.os;
    EXPECT_EQ(c.ctx.isWin98, r.win98) << r.os;
    EXPECT_EQ(c.ctx.isWin98SE, r.win98se) << r.os;
    EXPECT_EQ(c.ctx.isWinMe, r.winme) << r.os;
    EXPECT_EQ(c.ctx.isNT4, r.nt4) << r.os;
    EXPECT_EQ(c.ctx.isNT5, r.nt5) << r.os;
  }
}

TEST(ClassifyOs, BuildNumbersDecideBetweenTheEditionsOf98AndMe) {
  ContextOn c("win98");
  c.machine.os.build = 0x040A0800;  // build 2048: the first build counted as Second Edition
  c.classify();
  EXPECT_EQ(c.ctx.isWin98SE, 1);
  c.machine.os.build = 0x040A0900;  // build 2304: past the Second Edition range
  c.classify();
  EXPECT_EQ(c.ctx.isWin98, 1);
  EXPECT_EQ(c.ctx.isWin98SE, 0);
  c.machine.os.build = 0x04100000;  // version 4.16: counted as Millennium
  c.classify();
  EXPECT_EQ(c.ctx.isWinMe, 1);
  EXPECT_EQ(c.ctx.isWin98, 0);
}

TEST(ClassifyOs, FailedQueryAndWin32sLeaveEveryFlagClear) {
  ContextOn c("winxp");
  c.ctx.isNT5 = 1;
  c.machine.versionQueryFails = true;
  EXPECT_FALSE(classifyOs(c.ctx, c.sim.platform().system));
  EXPECT_EQ(c.ctx.isNT5, 0);

  ContextOn s("win95");
  s.machine.os.platformId = VER_PLATFORM_WIN32s;
  EXPECT_TRUE(classifyOs(s.ctx, s.sim.platform().system));
  EXPECT_EQ(s.ctx.isWin95 + s.ctx.isWin98 + s.ctx.isWinMe + s.ctx.isNT4 + s.ctx.isNT5, 0);
}

struct SourceDirCase {
  const char* program;
  const char* currentDir;
  const char* expected;
};

TEST(SourceDirOf, FromTheProgramPathWithTheCurrentDriveAsHelp) {
  for (const SourceDirCase& c :
       {SourceDirCase{"D:\\SETUP.EXE", "C:\\", "D:\\"}, SourceDirCase{"\\CD\\SETUP.EXE", "E:\\TEMP", "E:\\CD\\"},
        SourceDirCase{"E:\\Driver CD\\disk1\\Setup.exe", "C:\\", "E:\\Driver CD\\disk1\\"},
        // A relative path is made whole against the current folder, which changes later in the run.
        SourceDirCase{"sub\\Setup.exe", "F:\\work", "F:\\work\\sub\\"},
        SourceDirCase{"E:CD\\Setup.exe", "F:\\work", "E:\\CD\\"}}) {
    ContextOn on("win98se");
    on.machine.files.addDrive('E');
    on.machine.files.makeDirectories(*sim::parseAbsolutePath("E:\\TEMP"));
    on.machine.files.addDrive('F');
    on.machine.files.makeDirectories(*sim::parseAbsolutePath("F:\\work"));
    on.machine.currentDir = *sim::parseAbsolutePath(c.currentDir);
    EXPECT_EQ(sourceDirOf(c.program, true, on.sim.platform()), c.expected) << c.program;
  }
}

TEST(SourceDirOf, FallsBackToTheModuleFolderWhereThePathCannotTell) {
  for (const char* program : {"SETUP.EXE", "\\SETUP.EXE", "\\\\server\\share\\cd\\SETUP.EXE"}) {
    ContextOn on("win98se");
    on.machine.modulePath = "G:\\Driver CD\\SETUP.EXE";
    EXPECT_EQ(sourceDirOf(program, true, on.sim.platform()), "G:\\Driver CD\\") << program;
  }
  ContextOn failed("win98se");
  failed.machine.modulePath = "G:\\CD\\SETUP.EXE";
  EXPECT_EQ(sourceDirOf("D:\\SETUP.EXE", false, failed.sim.platform()), "G:\\CD\\");
}

TEST(SourceDirOf, WithoutTheModuleFolderThePathOrTheCurrentFolderTells) {
  // Windows does not tell the running module's path: the path as started tells the folder, or,
  // where it cannot, the current folder; never a folder that is no folder.
  for (const SourceDirCase& c :
       {SourceDirCase{"D:\\CD\\SETUP.EXE", "C:\\", "D:\\CD\\"}, SourceDirCase{"SETUP.EXE", "D:\\CD", "D:\\CD\\"}}) {
    ContextOn on("win98se");
    on.machine.files.makeDirectories(*sim::parseAbsolutePath("D:\\CD"));
    on.machine.currentDir = *sim::parseAbsolutePath(c.currentDir);
    on.machine.faults.failFirst = "GetModuleFileNameA";
    EXPECT_EQ(sourceDirOf(c.program, false, on.sim.platform()), c.expected) << c.program;
  }
}

}  // namespace
}  // namespace tvx
