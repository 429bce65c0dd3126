// The CD taken out of its drive and put back. Windows answers every use of a drive without its
// disc with ERROR_NOT_READY; Wine cannot show that code (its drive is a folder that went away,
// which it answers as a missing path), so the differential probe compares what both show and
// these tests hold the simulated machine to Windows' code.
#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

struct MediumMachine : ::testing::Test {
  test::MachineFolder folder;
  sim::Machine machine;

  // A CD in D: with setup.ini, a package INF and a program; the events of the test.
  void load(const std::string& events) {
    folder.write("drives/D/setup.ini", "[InstallOption]\r\nWindowsMEDriver=0\r\n");
    folder.write("drives/D/W2K-ME/drv/TVAUDIO.INF", "[Version]\r\n");
    folder.write("drives/D/W2K-ME/drv/tvaudio.sys", "MZ driver");
    folder.write("drives/D/Tool.exe", "MZ tool");
    folder.write("machine.ini", "[Machine]\nos=winme\nprogram=D:\\SETUP.EXE\ncwd=C:\\\n[Events]\n" + events);
    folder.load(machine);
  }
};

TEST_F(MediumMachine, EveryUseOfTheDriveFailsNotReadyWhileTheCdIsOutAndWorksOnceItIsBack) {
  load("event=1 s; eject=D\nevent=5 s; insert=D\n");
  sim::SimPlatform sim(machine);
  Platform p = sim.platform();
  const char* ini = "D:\\setup.ini";
  const char* inf = "D:\\W2K-ME\\drv\\TVAUDIO.INF";
  machine.advance(1000);
  ASSERT_FALSE(machine.hasMedium('D'));

  auto lastError = [&] { return p.system.GetLastError(); };
  EXPECT_EQ(p.files.GetFileAttributesA(ini), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_EQ(p.files.GetFileAttributesA("D:\\W2K-ME"), INVALID_FILE_ATTRIBUTES);
  WIN32_FIND_DATAA data;
  EXPECT_EQ(p.files.FindFirstFileA("D:\\W2K-ME\\drv\\*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_EQ(p.streams.fopen(ini, "rb"), nullptr);
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_FALSE(p.files.CanOpenForReading(inf));
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_FALSE(p.files.CopyFileA(inf, "C:\\TVAUDIO.INF", FALSE));
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_FALSE(p.files.SetCurrentDirectoryA("D:\\W2K-ME"));
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  char shortPath[MAX_PATH] = {};
  EXPECT_EQ(p.files.GetShortPathNameA("D:\\W2K-ME", shortPath, MAX_PATH), 0u);
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_FALSE(p.files.CreateDirectoryA("D:\\NEW"));
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_FALSE(p.profiles.WritePrivateProfileStringA("A", "B", "C", "D:\\new.ini"));
  EXPECT_EQ(lastError(), ERROR_NOT_READY);
  EXPECT_EQ(p.profiles.GetPrivateProfileIntA("InstallOption", "WindowsMEDriver", 7, ini), 7u);
  char value[16];
  EXPECT_EQ(p.profiles.GetPrivateProfileStringA("InstallOption", "WindowsMEDriver", "none", value, 16, ini), 4u);
  EXPECT_STREQ(value, "none");
  // Windows looks for the program before it starts it: one it cannot find is not there.
  EXPECT_EQ(p.processes.WinExec("D:\\Tool.exe", SW_SHOW), ERROR_FILE_NOT_FOUND);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  char command[] = "D:\\Tool.exe";
  EXPECT_FALSE(p.processes.CreateProcessA(nullptr, command, &startup, &info));
  EXPECT_EQ(lastError(), ERROR_FILE_NOT_FOUND);
  // What needs no disc still works: the full path of a name is made from the text alone.
  char full[MAX_PATH];
  EXPECT_EQ(p.files.GetFullPathNameA("D:\\W2K-ME\\..\\setup.ini", MAX_PATH, full, nullptr), 12u);

  machine.advance(4000);
  ASSERT_TRUE(machine.hasMedium('D'));
  EXPECT_NE(p.files.GetFileAttributesA(ini) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(p.profiles.GetPrivateProfileIntA("InstallOption", "WindowsMEDriver", 7, ini), 0u);
  EXPECT_TRUE(p.files.CopyFileA(inf, "C:\\TVAUDIO.INF", FALSE));
  EXPECT_EQ(p.processes.WinExec("D:\\Tool.exe", SW_SHOW), 33u);
  // The disc kept its files: nothing of it changed while it was out.
  EXPECT_EQ(machine.files.find(*sim::parseAbsolutePath("D:\\W2K-ME\\drv\\tvaudio.sys"))->data, "MZ driver");
}

TEST_F(MediumMachine, TheCdCanBeTakenOutRightAfterACopyOfTheProgram) {
  load("event=copy 2; eject=D\n");
  sim::SimPlatform sim(machine);
  IFileSystem& files = sim.platform().files;
  EXPECT_TRUE(files.CopyFileA("D:\\W2K-ME\\drv\\TVAUDIO.INF", "C:\\TVAUDIO.INF", FALSE));
  EXPECT_TRUE(files.CopyFileA("D:\\W2K-ME\\drv\\tvaudio.sys", "C:\\tvaudio.sys", FALSE));
  EXPECT_EQ(sim.platform().system.GetLastError(), ERROR_SUCCESS) << "the world leaves the copy's last error alone";
  EXPECT_FALSE(files.CopyFileA("D:\\setup.ini", "C:\\setup.ini", FALSE));
  EXPECT_EQ(sim.platform().system.GetLastError(), ERROR_NOT_READY);
  EXPECT_EQ(machine.now, 0u) << "no time passes";
  std::size_t events = 0;
  for (const auto& h : machine.log) {
    if (h.kind == "event") {
      ++events;
      EXPECT_EQ(h.field("what"), "eject=D");
    }
  }
  EXPECT_EQ(events, 1u);
}

TEST_F(MediumMachine, ACopyCountIsANumberFromOne) {
  for (const char* bad : {"event=copy 0; eject=D\n", "event=copy x; eject=D\n"}) {
    sim::Machine fresh;
    folder.write("machine.ini", std::string("[Machine]\nos=winme\n[Events]\n") + bad);
    EXPECT_THROW(folder.load(fresh), sim::MachineError) << bad;
  }
}

}  // namespace
}  // namespace tvx
