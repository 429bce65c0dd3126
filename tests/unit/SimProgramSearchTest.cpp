// Programs started by name are found where Windows looks for them, and only programs start.
#include <gtest/gtest.h>

#include "SimMachine.h"

namespace tvx {
namespace {

using test::SimMachine;

struct Search : ::testing::Test {
  SimMachine m{"win98se"};
  void SetUp() override {
    m.machine.modulePath = "D:\\SETUP.EXE";
    m.machine.systemDir = "C:\\WINDOWS\\SYSTEM";
    m.machine.searchPath = "C:\\WINDOWS;C:\\TOOLS";
    m.machine.currentDir = *sim::parseAbsolutePath("C:\\WORK");
    m.file("C:\\WORK\\readme.txt");
  }
  std::string ran() const { return m.machine.processes.empty() ? "" : m.machine.processes.back().program; }
};

TEST_F(Search, TheProgramsFolderComesFirstThenTheCurrentSystemWindowsAndPathFolders) {
  Platform p = m.platform();
  const char* copies[] = {"D:\\SysTray.exe", "C:\\WORK\\SysTray.exe", "C:\\WINDOWS\\SYSTEM\\SysTray.exe",
                          "C:\\WINDOWS\\SysTray.exe", "C:\\TOOLS\\SysTray.exe"};
  for (const char* copy : copies) m.program(copy);
  for (const char* copy : copies) {
    EXPECT_GT(p.processes.WinExec("SysTray.exe", 1), 31u);
    EXPECT_EQ(ran(), copy);
    m.remove(copy);
  }
  EXPECT_EQ(p.processes.WinExec("SysTray.exe", 1), ERROR_FILE_NOT_FOUND);
}

TEST_F(Search, ANameWithoutExtensionIsAnExe) {
  m.program("C:\\WINDOWS\\SYSTEM\\SysTray.exe");
  EXPECT_GT(m.platform().processes.WinExec("SysTray", 1), 31u);
  EXPECT_EQ(ran(), "C:\\WINDOWS\\SYSTEM\\SysTray.exe");
}

TEST_F(Search, AFileThatIsNotAProgramDoesNotStart) {
  m.file("C:\\WINDOWS\\SysTray.exe", "not a program");
  Platform p = m.platform();
  EXPECT_EQ(p.processes.WinExec("SysTray.exe", 1), ERROR_BAD_FORMAT);
  STARTUPINFOA startup = {};
  PROCESS_INFORMATION info = {};
  char line[] = "SysTray.exe /x";
  EXPECT_FALSE(p.processes.CreateProcessA(nullptr, line, &startup, &info));
  EXPECT_EQ(p.system.GetLastError(), ERROR_BAD_EXE_FORMAT);
  EXPECT_TRUE(m.machine.processes.empty());
}

}  // namespace
}  // namespace tvx
