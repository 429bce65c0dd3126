#include <gtest/gtest.h>

#include "DriverCd.h"

namespace tvx {
namespace {

using test::DriverCd;

TEST(RewriteInfSourceDisks, VxdAppendsTheInstallFolderToDiskOne) {
  DriverCd m("win98");
  m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W95-98"));
  const std::string shortDir = m.shortInstallDir("C:\\Program Files\\Tarvic\\W95-98");
  ASSERT_EQ(shortDir, "C:\\PROGRA~1\\TARVIC\\W95-98");
  m.file("C:\\WINDOWS\\INF\\TVAUDIO.INF", test::kVxdInf);
  m.file("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF", test::kVxdInf);
  m.file("C:\\WINDOWS\\INF\\NODISK.INF", "[Version]\r\nSignature=\"$CHICAGO$\"\r\n");
  m.file("C:\\WINDOWS\\INF\\TWICE.INF", "[SourceDisksNames]\r\n1=Disk,,,C:\\PROGRA~1\\TARVIC\\W95-98\r\n");
  RewriteInfSourceDisks(m.platform(),
                        {"C:\\WINDOWS\\INF\\TVAUDIO.INF", "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF",
                         "C:\\WINDOWS\\INF\\NODISK.INF", "C:\\WINDOWS\\INF\\TWICE.INF"},
                        true);
  const std::string rewritten = "1=\"Tarvic Driver Disk\",,,, " + shortDir + "\r\n";
  for (const char* copy : {"C:\\WINDOWS\\INF\\TVAUDIO.INF", "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF"}) {
    EXPECT_NE(m.content(copy).find(rewritten), std::string::npos) << copy << ":\n" << m.content(copy);
    EXPECT_EQ(m.content(copy).find("tvaudio.cat"), std::string::npos) << "the catalog is the WDM package's";
  }
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\NODISK.INF"), "[Version]\r\nSignature=\"$CHICAGO$\"\r\n");
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\TWICE.INF"),
            "[SourceDisksNames]\r\n1=Disk,,,C:\\PROGRA~1\\TARVIC\\W95-98, " + shortDir + "\r\n");
}

TEST(RewriteInfSourceDisks, WdmNamesItsDiskAndDeclaresTheCatalog) {
  DriverCd m("win98se");
  m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\Program Files\\Tarvic\\W2K-ME"));
  m.file("C:\\WINDOWS\\INF\\TVAUDIO.INF", test::kWdmInf);
  m.file("C:\\WINDOWS\\INF\\VXD.INF", test::kVxdInf);
  RewriteInfSourceDisks(m.platform(), {"C:\\WINDOWS\\INF\\TVAUDIO.INF", "C:\\WINDOWS\\INF\\VXD.INF"}, false);
  const std::string inf = m.content("C:\\WINDOWS\\INF\\TVAUDIO.INF");
  EXPECT_NE(inf.find("200=\"Tarvic WDM Audio Driver Disk\",,,C:\\PROGRA~1\\TARVIC\\W2K-ME\r\n"), std::string::npos)
      << inf;
  EXPECT_NE(inf.find("[SourceDisksFiles]\r\ntvaudio.sys=200\r\ntvaudio.cat=200\r\n"), std::string::npos) << inf;
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\VXD.INF"), test::kVxdInf) << "no disk 200: left as it was";
}

TEST(RewriteInfSourceDisks, AMissingInstallFolderStillNamesTheFolderNeverAnEmptyPath) {
  // Without its folder GetShortPathNameA gives no short name; an empty path field would make
  // Windows ask for the driver disk, so the long name stands in.
  for (const bool vxd : {true, false}) {
    DriverCd m(vxd ? "win98" : "win98se");
    ASSERT_EQ(m.machine.files.find(*sim::parseAbsolutePath("C:\\Program Files")), nullptr);
    const char* inf = "C:\\WINDOWS\\INF\\TVAUDIO.INF";
    m.file(inf, vxd ? test::kVxdInf : test::kWdmInf);
    RewriteInfSourceDisks(m.platform(), {inf}, vxd);
    const std::string expected = vxd ? "1=\"Tarvic Driver Disk\",,,, C:\\Program Files\\Tarvic\\W95-98\r\n"
                                     : "200=\"Tarvic WDM Audio Driver Disk\",,,C:\\Program Files\\Tarvic\\W2K-ME\r\n";
    EXPECT_NE(m.content(inf).find(expected), std::string::npos) << m.content(inf);
  }
}

// Windows' kernel-streaming INF files, before and after the patch.
struct KsCase {
  const char* inf;
  std::string before;
  std::string after;
};

TEST(PatchKernelStreamingInfs, CopyLinesKeepExistingFilesAndNothingElseChanges) {
  const KsCase cases[] = {
      {"ks.inf",
       "[Version]\r\nsignature=\"$CHICAGO$\"\r\n[KS.CopyFiles]\r\nks.sys,,,0x00000002\r\nKS.SYS\r\n"
       "ksuser.dll.bak\r\nstream.sys,,,0x00000010\r\nKSPROXY.AX,,,0x00000010 ; kept\r\n\tks.sys\r\n ksproxy.ax\r\n"
       "ksuser.dll\n[KS.DelFiles]\r\nks.sys\r\n[Later.CopyFiles]\r\nstream.sys\r\n",
       "[Version]\r\nsignature=\"$CHICAGO$\"\r\n[KS.CopyFiles]\r\nks.sys,,,0x00000010\r\nks.sys,,,0x00000010\r\n"
       "ksuser.dll,,,0x00000010\r\nstream.sys,,,0x00000010\r\nKSPROXY.AX,,,0x00000010 ; kept\r\n\tks.sys\r\n"
       " ksproxy.ax\r\nksuser.dll,,,0x00000010\r\n[KS.DelFiles]\r\nks.sys\r\n[Later.CopyFiles]\r\nstream.sys\r\n"},
      {"wdmaudio.inf", "[WDM.CopyList]\r\nksproxy.ax\r\n[wdm.delfiles]\r\nksproxy.ax\r\n",
       "[WDM.CopyList]\r\nksproxy.ax,,,0x00000010\r\n[wdm.delfiles]\r\nksproxy.ax\r\n"},
      {"ksfilter.inf",
       "[SourceDisksFiles]\r\nmspclock.sys=1\r\nmskssrv.sys = 1\r\n[Filters.CopyList]\r\nmspclock.sys\r\n"
       "MSKSSRV.SYS,,,0x00000002\r\nmskssrv.sys,,,0x00000010\r\nks.sys\r\n",
       "[SourceDisksFiles]\r\nmspclock.sys=1\r\nmskssrv.sys,,,0x00000010\r\n[Filters.CopyList]\r\n"
       "mspclock.sys,,,0x00000010\r\nmskssrv.sys,,,0x00000010\r\nmskssrv.sys,,,0x00000010\r\nks.sys\r\n"},
  };
  DriverCd m("win98");
  for (const KsCase& c : cases) m.file(std::string("C:\\WINDOWS\\INF\\") + c.inf, c.before);
  PatchKernelStreamingInfs(m.ctx, m.platform(), DriverRunKind::CommandLine, false);
  for (const KsCase& c : cases) {
    EXPECT_EQ(m.content(std::string("C:\\WINDOWS\\INF\\") + c.inf), c.after) << c.inf;
  }
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\INF\\ks.new")) << "the work files stay";
  EXPECT_EQ(m.sim.streams().openStreams(), 0u);

  // A second run finds every line patched and changes nothing.
  PatchKernelStreamingInfs(m.ctx, m.platform(), DriverRunKind::CommandLine, false);
  for (const KsCase& c : cases) EXPECT_EQ(m.content(std::string("C:\\WINDOWS\\INF\\") + c.inf), c.after) << c.inf;
}

TEST(PatchKernelStreamingInfs, WhichFilesEachRunKindPatches) {
  struct Row {
    const char* os;
    DriverRunKind kind;
    int useVxd, wdmOption;
    bool ks, ksfilter;
  };
  for (const Row& r : {Row{"win98", DriverRunKind::MainDialogDriverOnly, 0, 0, true, true},
                       Row{"win98se", DriverRunKind::MainDialogWithSuite, 1, 0, false, false},
                       Row{"winme", DriverRunKind::CommandLine, 0, 0, false, false},
                       Row{"win98se", DriverRunKind::WebPackage, 0, 1, true, false},
                       Row{"win98", DriverRunKind::WebPackage, 0, 1, false, false},
                       Row{"win98se", DriverRunKind::WdmOptionsDialog, 0, 1, false, false}}) {
    DriverCd m(r.os);
    m.ctx.installWDMDriver = r.wdmOption;
    m.file("C:\\WINDOWS\\INF\\ks.inf", "ks.sys\r\n");
    m.file("C:\\WINDOWS\\INF\\ksfilter.inf", "mskssrv.sys\r\n");
    PatchKernelStreamingInfs(m.ctx, m.platform(), r.kind, r.useVxd == 1);
    const std::string row = std::string(r.os) + " kind " + std::to_string(static_cast<int>(r.kind));
    EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\ks.inf") != "ks.sys\r\n", r.ks) << row;
    EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\ksfilter.inf") != "mskssrv.sys\r\n", r.ksfilter) << row;
  }
}

TEST(PatchKernelStreamingInfs, LongLinesAreTestedAtTheirStartOnly) {
  DriverCd m("win98");
  const std::string filler(1023 - 8, 'x');
  // The second piece of a long comment line begins with "ks.sys"; a long copy line is replaced whole.
  const std::string comment = "; note: " + filler + "ks.sys,,,0x00000002 tail\r\n";
  const std::string longCopy = "stream.sys,,,0x00000002 ; " + std::string(1100, 'y') + "\r\n";
  m.file("C:\\WINDOWS\\INF\\ks.inf", comment + longCopy + "ks.sys\r\n");
  PatchKernelStreamingInfs(m.ctx, m.platform(), DriverRunKind::CommandLine, false);
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\ks.inf"), comment + "stream.sys,,,0x00000010\r\nks.sys,,,0x00000010\r\n");
}

TEST(PatchKernelStreamingInfs, WindowsInfIsLeftWholeWhenItCannotBeCopiedThrough) {
  DriverCd m("win98");
  // A NUL byte: the line functions cannot carry the rest of the line.
  const std::string withNul = std::string("ks.sys\r\n; a\0b comment\r\nstream.sys\r\n", 32);
  m.file("C:\\WINDOWS\\INF\\ks.inf", withNul);
  // The work file cannot be written: Windows' INF stays.
  m.file("C:\\WINDOWS\\INF\\wdmaudio.inf", "ksuser.dll\r\n");
  m.file("C:\\WINDOWS\\INF\\wdmaudio.new", "old work file");
  m.platform().files.SetFileAttributesA("C:\\WINDOWS\\INF\\wdmaudio.new", FILE_ATTRIBUTE_READONLY);
  PatchKernelStreamingInfs(m.ctx, m.platform(), DriverRunKind::CommandLine, false);
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\ks.inf"), withNul);
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\wdmaudio.inf"), "ksuser.dll\r\n");
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\INF\\ksfilter.new")) << "a missing INF still leaves an empty work file";
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\ksfilter.new"), "");
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\ksfilter.inf"));
  EXPECT_EQ(m.sim.streams().openStreams(), 0u);
}

}  // namespace
}  // namespace tvx
