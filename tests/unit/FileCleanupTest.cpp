#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/cleanup/Cleanup.h"

namespace tvx {
namespace {

using test::SimMachine;

std::string inf(const char* legacy, const char* wdm) {
  std::string text = "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n[Strings]\r\n";
  if (legacy != nullptr) text += std::string("SSC-Legacy.DeviceDesc=\"") + legacy + "\"\r\n";
  if (wdm != nullptr) text += std::string("WDM_TVPCI.Wave.szPname=\"") + wdm + "\"\r\n";
  return text;
}

TEST(CleanOldDriverFiles, MakersInfsGoWithTheirPnfsAndOthersStay) {
  SimMachine m;
  const std::string dir = "C:\\WINDOWS\\INF\\";
  m.file(dir + "OTHER\\TarvicTVX.INF", inf("TVX4400 Legacy Audio Device", nullptr));
  m.file(dir + "OTHER\\TarvicTVX.PNF");
  m.file(dir + "OTHER\\Vendor.INF", inf("Acme Legacy", "Acme Wave"));
  m.file(dir + "OTHER\\Vendor.PNF");
  m.file(dir + "TVAUDIO.INF", inf(nullptr, "TVAUDIO Wave"));
  m.file(dir + "TVOTHER.INF", inf("Made by Tarvic", "tvaudio wave"));
  m.file(dir + "TVNOSTR.INF", "[Version]\r\nSignature=\"$CHICAGO$\"\r\n");
  m.file(dir + "OEM3.INF", inf("Tarvic sound", nullptr));
  m.file(dir + "OEM4.INF", inf("Acme", nullptr));
  m.machine.files.find(*sim::parseAbsolutePath(dir + "OEM3.INF"))->attributes = FILE_ATTRIBUTE_READONLY;
  m.file(dir + "OEM3.PNF");
  CleanOldDriverFiles(m.platform(), 0);
  for (const char* gone : {"OTHER\\TarvicTVX.INF", "OTHER\\TarvicTVX.PNF", "TVAUDIO.INF", "OEM3.INF", "OEM3.PNF"}) {
    EXPECT_FALSE(m.exists(dir + gone)) << gone;
  }
  for (const char* stays : {"OTHER\\Vendor.INF", "OTHER\\Vendor.PNF", "TVOTHER.INF", "TVNOSTR.INF", "OEM4.INF"}) {
    EXPECT_TRUE(m.exists(dir + stays)) << stays;
  }
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\WININIT.INI")) << "without retirement nothing is queued";
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\WIN.INI"));
}

TEST(CleanOldDriverFiles, WithoutInfOtherTheOemFilesOfTheInfFolderAreExamined) {
  SimMachine m;
  m.file("C:\\WINDOWS\\INF\\OEM0.INF", inf("TVX4300 Legacy", nullptr));
  m.file("C:\\WINDOWS\\INF\\OTHER\\readme.txt");
  CleanOldDriverFiles(m.platform(), 0);
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\OEM0.INF"));
}

TEST(CleanOldDriverFiles, LegacyFilesAreQueuedForTheirRetiredNames) {
  SimMachine m;
  const std::string w = "C:\\WINDOWS";
  for (const char* f : {"\\SYSTEM\\SYNPROXY.DLL", "\\SYSTEM\\TVMPU.EXE", "\\SYSTEM32\\DRIVERS\\TVPCI.SYS",
                        "\\INF\\CATALOG\\TVPCI.CAT", "\\INF\\CATALOG\\TVAUDIO.CAT", "\\SYSTEM\\TV4300.VXD"}) {
    m.file(w + f);
  }
  m.file(w + "\\WIN.INI",
         "[windows]\r\nload=\r\nrun=C:\\WINDOWS\\SYSTEM\\TVMPU.EXE, C:\\Acme\\tray.exe bankprep.exe\r\n");
  CleanOldDriverFiles(m.platform(), 1);
  EXPECT_EQ(m.content(w + "\\WININIT.INI"),
            "[rename]\r\n"
            "C:\\WINDOWS\\SYSTEM\\4300VXD.OLD=C:\\WINDOWS\\SYSTEM\\TV4300.VXD\r\n"
            "C:\\WINDOWS\\SYSTEM\\TVMPU.OLD=C:\\WINDOWS\\SYSTEM\\TVMPU.EXE\r\n"
            "C:\\WINDOWS\\SYSTEM\\SYNPROX.OLD=C:\\WINDOWS\\SYSTEM\\SYNPROXY.DLL\r\n"
            "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\TVPCI.OLD=C:\\WINDOWS\\SYSTEM32\\DRIVERS\\TVPCI.SYS\r\n"
            "C:\\WINDOWS\\INF\\CATALOG\\TVPCI.OLD=C:\\WINDOWS\\INF\\CATALOG\\TVPCI.CAT\r\n"
            "C:\\WINDOWS\\INF\\CATALOG\\tvaudio.OLD=C:\\WINDOWS\\INF\\CATALOG\\tvaudio.CAT\r\n");
  EXPECT_EQ(m.content(w + "\\WIN.INI"), "[windows]\r\nload=\r\nrun=C:\\Acme\\tray.exe\r\n");

  const std::string queued = m.content(w + "\\WININIT.INI");
  CleanOldDriverFiles(m.platform(), 1);
  EXPECT_EQ(m.content(w + "\\WININIT.INI"), queued) << "a second run rewrites the same entries in place";
  m.machine.boot();
  EXPECT_TRUE(m.exists(w + "\\SYSTEM\\SYNPROX.OLD"));
  EXPECT_FALSE(m.exists(w + "\\SYSTEM\\SYNPROXY.DLL"));
  EXPECT_TRUE(m.exists(w + "\\INF\\CATALOG\\TVPCI.OLD"));
  EXPECT_TRUE(m.exists(w + "\\SYSTEM32\\DRIVERS\\TVPCI.OLD"));
}

TEST(CleanOldDriverFiles, ARunEntryOfOnlyEarlierProgramsBecomesABlank) {
  SimMachine m;
  m.file("C:\\WINDOWS\\WIN.INI", "[Windows]\r\nrun=INITCARD.COM\r\n");
  CleanOldDriverFiles(m.platform(), 1);
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\WININIT.INI")) << "no legacy file, no queue";
  EXPECT_EQ(m.content("C:\\WINDOWS\\WIN.INI"), "[Windows]\r\nrun= \r\n");
}

TEST(RemoveLegacyRunPrograms, KeepsOtherProgramsInTheirOrder) {
  EXPECT_EQ(RemoveLegacyRunPrograms("a.exe tvmpu.exe,b.exe"), "a.exe b.exe");
  EXPECT_EQ(RemoveLegacyRunPrograms("a.exe,b.exe C:\\X\\BankPrep.exe"), "a.exe,b.exe");
  EXPECT_EQ(RemoveLegacyRunPrograms("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE"), " ");
  EXPECT_EQ(RemoveLegacyRunPrograms(""), " ");
  EXPECT_EQ(RemoveLegacyRunPrograms("NOTTVMPU.EXE TVMPU.EXE2"), "NOTTVMPU.EXE TVMPU.EXE2");
  EXPECT_EQ(RemoveLegacyRunPrograms("TVMPU INITCARD.CO C:\\X\\BANKPREP"), "TVMPU INITCARD.CO C:\\X\\BANKPREP")
      << "names that only begin like an earlier program stay";
}

TEST(CleanOldDriverFiles, WhateverCallFailsTheOtherProgramsOfTheRunEntryStay) {
  const std::string original = "[windows]\r\nrun=C:\\A\\CLOCK.EXE TVMPU.EXE C:\\B\\NOTES.EXE\r\n";
  std::size_t calls = 0;
  for (std::size_t failAt = 1; failAt == 1 || failAt <= calls; ++failAt) {
    SimMachine m;
    m.file("C:\\WINDOWS\\WIN.INI", original);
    m.machine.faults.failAt = failAt;
    CleanOldDriverFiles(m.platform(), 1);
    calls = m.machine.faults.calls;
    const std::string now = m.content("C:\\WINDOWS\\WIN.INI");
    EXPECT_TRUE(now == original || now == "[windows]\r\nrun=C:\\A\\CLOCK.EXE C:\\B\\NOTES.EXE\r\n")
        << "call " << failAt << " (" << m.machine.faults.failedCall << ") failed: " << now;
  }
  EXPECT_GT(calls, 5u);
}

TEST(CleanOldDriverFiles, ALongRunEntryIsKeptWhole) {
  // 2,000 characters of other programs, with an earlier driver's program in the middle.
  std::string others;
  for (int i = 0; others.size() < 1000; ++i) others += "C:\\TOOLS\\PROG" + std::to_string(i) + ".EXE ";
  std::string tail;
  for (int i = 0; tail.size() < 1000; ++i) tail += " C:\\MORE\\APP" + std::to_string(i) + ".EXE";
  SimMachine m;
  m.file("C:\\WINDOWS\\WIN.INI", "[windows]\r\nrun=" + others + "TVMPU.EXE" + tail + "\r\n");
  CleanOldDriverFiles(m.platform(), 1);
  others.pop_back();
  EXPECT_EQ(m.content("C:\\WINDOWS\\WIN.INI"), "[windows]\r\nrun=" + others + tail + "\r\n");
}

TEST(QueueRenameOnRestart, KeepsOneEntryPerDestination) {
  SimMachine m;
  Platform p = m.platform();
  QueueRenameOnRestart(p, "NUL", "C:\\WINDOWS\\Mixer.old");
  QueueRenameOnRestart(p, "C:\\WINDOWS\\Mixer.old", "C:\\WINDOWS\\Mixer.exe");
  QueueRenameOnRestart(p, "nul", "C:\\WINDOWS\\Other.tmp");
  EXPECT_EQ(m.content("C:\\WINDOWS\\WININIT.INI"),
            "[rename]\r\nNUL=C:\\WINDOWS\\Other.tmp\r\nC:\\WINDOWS\\Mixer.old=C:\\WINDOWS\\Mixer.exe\r\n");
}

TEST(CleanOldDriverFiles, AWindowsDirectoryOfAnyLengthWorks) {
  SimMachine m;
  m.machine.windowsDir = "C:\\A Windows Directory Whose Name Is Far Longer Than Sixty-Four Characters";
  m.file(m.machine.windowsDir + "\\INF\\TVAUDIO.INF", inf("TVX4400", nullptr));
  m.file(m.machine.windowsDir + "\\SYSTEM\\ASIO4400.DLL");
  CleanOldDriverFiles(m.platform(), 1);
  EXPECT_FALSE(m.exists(m.machine.windowsDir + "\\INF\\TVAUDIO.INF"));
  EXPECT_NE(m.content(m.machine.windowsDir + "\\WININIT.INI").find(m.machine.windowsDir + "\\SYSTEM\\ASIO4400.OLD="),
            std::string::npos);
}

}  // namespace
}  // namespace tvx
