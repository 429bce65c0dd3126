// A running program's file is in use: the mixer program cannot be replaced until its window is
// closed, and a started program's file is free again once its time is up.
#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

using test::SimMachine;

TEST(SimRunningProgram, AStartedProgramsFileIsInUseUntilItsTimeIsUp) {
  SimMachine m;
  m.program("C:\\Uninst.exe");
  m.machine.programs["C:\\UNINST.EXE"].runsFor = 2000;
  Platform p = m.platform();
  ASSERT_GT(p.processes.WinExec("C:\\Uninst.exe", 1), 31u);
  m.file("C:\\new.exe", "MZ new");
  EXPECT_FALSE(p.files.CopyFileA("C:\\new.exe", "C:\\Uninst.exe", FALSE));
  EXPECT_EQ(p.system.GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(p.streams.fopen("C:\\Uninst.exe", "wb"), nullptr);
  EXPECT_FALSE(p.files.DeleteFileA("C:\\Uninst.exe"));
  EXPECT_EQ(p.system.GetLastError(), ERROR_ACCESS_DENIED);
  FileStream* reading = p.streams.fopen("C:\\Uninst.exe", "rb");
  EXPECT_NE(reading, nullptr) << "it can still be read";
  p.streams.fclose(reading);
  p.time.Sleep(2000);
  EXPECT_TRUE(p.files.CopyFileA("C:\\new.exe", "C:\\Uninst.exe", FALSE));
  EXPECT_TRUE(p.files.DeleteFileA("C:\\Uninst.exe"));
}

TEST(SimRunningProgram, AWindowsProgramRunsFromTheStartUntilItsWindowIsClosed) {
  test::MachineFolder folder;
  folder.write("drives/C/WINDOWS/Mixer.exe", "MZ old mixer");
  folder.write("drives/C/WINDOWS/Mixer.dat", "MZ new mixer");
  folder.write("machine.ini", "[Machine]\nos=win98se\n[Windows]\nwindow=Mixer; program=C:\\WINDOWS\\Mixer.exe\n");
  sim::Machine machine;
  folder.load(machine);
  sim::SimPlatform sim(machine);
  Platform p = sim.platform();
  EXPECT_FALSE(p.files.CopyFileA("C:\\WINDOWS\\Mixer.dat", "C:\\WINDOWS\\Mixer.exe", FALSE));
  HWND mixer = p.windows.FindWindowExA(nullptr, nullptr, nullptr, "Mixer");
  ASSERT_NE(mixer, nullptr);
  p.windows.SendMessageA(mixer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.files.CopyFileA("C:\\WINDOWS\\Mixer.dat", "C:\\WINDOWS\\Mixer.exe", FALSE));
}

}  // namespace
}  // namespace tvx
