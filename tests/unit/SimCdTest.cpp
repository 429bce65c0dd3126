// The CD drive of a machine folder: read-only media, whose files' attribute follows their copies.
#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

struct CdMachine : ::testing::Test {
  test::MachineFolder folder;
  sim::Machine machine;

  void SetUp() override {
    folder.write("drives/E/W2K-ME/drv/TVAUDIO.INF", "[Version]\r\n");
    folder.write("drives/D/data.txt", "on a hard disk\r\n");
    folder.write("machine.ini", "[Machine]\nos=winme\ncd=e\nprogram=E:\\SETUP.EXE\n");
    folder.load(machine);
  }
};

TEST_F(CdMachine, FilesOnTheCdDriveAreReadOnlyAndOthersAreNot) {
  sim::SimPlatform sim(machine);
  IFileSystem& files = sim.platform().files;
  EXPECT_NE(files.GetFileAttributesA("E:\\W2K-ME\\drv\\TVAUDIO.INF") & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(files.GetFileAttributesA("D:\\data.txt") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(CdMachine, NothingOnTheCdCanBeWritten) {
  sim::SimPlatform sim(machine);
  Platform p = sim.platform();
  const char* inf = "E:\\W2K-ME\\drv\\TVAUDIO.INF";
  EXPECT_EQ(p.streams.fopen(inf, "r+b"), nullptr);
  EXPECT_EQ(p.streams.fopen("E:\\new.txt", "wb"), nullptr);
  EXPECT_FALSE(p.files.CreateDirectoryA("E:\\NEW"));
  EXPECT_FALSE(p.files.DeleteFileA(inf));
  EXPECT_FALSE(p.files.SetFileAttributesA(inf, FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(p.system.GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(p.profiles.WritePrivateProfileStringA("Version", "Signature", "x", inf));
  EXPECT_FALSE(p.profiles.WritePrivateProfileStringA("A", "B", "C", "E:\\new.ini"));
  EXPECT_EQ(p.system.GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(machine.files.find(*sim::parseAbsolutePath("E:\\new.ini")), nullptr);
}

TEST_F(CdMachine, ACopyFromTheCdStaysReadOnlyUntilItsAttributesAreCleared) {
  sim::SimPlatform sim(machine);
  IFileSystem& files = sim.platform().files;
  const char* inf = "E:\\W2K-ME\\drv\\TVAUDIO.INF";
  ASSERT_TRUE(files.CopyFileA(inf, "C:\\TVAUDIO.INF", FALSE));
  EXPECT_NE(files.GetFileAttributesA("C:\\TVAUDIO.INF") & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_FALSE(files.CopyFileA(inf, "C:\\TVAUDIO.INF", FALSE)) << "the second run's copy fails without clearing";
  ASSERT_TRUE(files.SetFileAttributesA("C:\\TVAUDIO.INF", FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(files.CopyFileA(inf, "C:\\TVAUDIO.INF", FALSE));
  EXPECT_NE(files.GetFileAttributesA("C:\\TVAUDIO.INF") & FILE_ATTRIBUTE_READONLY, 0u)
      << "a copy over a cleared file is read-only again";
}

}  // namespace
}  // namespace tvx
