#include <gtest/gtest.h>

#include "DriverCd.h"

namespace tvx {
namespace {

using test::DriverCd;

const std::string kVxdDir = "C:\\Program Files\\Tarvic\\W95-98\\";
const std::string kWdmDir = "C:\\Program Files\\Tarvic\\W2K-ME\\";

TEST(StageDriverPackage, EachRunKindAndWindowsTakeTheirPackage) {
  struct Row {
    const char* os;
    DriverRunKind kind;
    int se98, me, wdmOption;
    bool with95Folder;
    std::string stagedFile;  // the file in the install folder and where it came from
    std::string from;
    int useVxd;
  };
  const DriverRunKind cd = DriverRunKind::CommandLine;
  const DriverRunKind web = DriverRunKind::WebPackage;
  for (const Row& r : {
           Row{"win95", cd, 1, 1, 0, true, kVxdDir + "TVAUDIO.VXD", "D:\\W95-98\\drv\\95\\", 1},
           Row{"win95", cd, 1, 1, 0, false, kVxdDir + "TVAUDIO.VXD", "D:\\W95-98\\drv\\", 1},
           Row{"win98", cd, 1, 0, 0, true, kWdmDir + "tvaudio.sys", "", 0},
           Row{"win98", cd, 0, 1, 0, true, kVxdDir + "TVAUDIO.VXD", "D:\\W95-98\\drv\\98\\", 1},
           Row{"win98se", DriverRunKind::MainDialogWithSuite, 0, 1, 0, true, kVxdDir + "TVAUDIO.VXD",
               "D:\\W95-98\\drv\\98\\", 1},
           Row{"win98se", DriverRunKind::MainDialogDriverOnly, 1, 0, 0, true, kWdmDir + "tvaudio.sys", "", 0},
           Row{"winme", cd, 0, 1, 0, true, kWdmDir + "tvaudio.sys", "", 0},
           Row{"winme", cd, 1, 0, 0, true, kVxdDir + "TVAUDIO.VXD", "D:\\W95-98\\drv\\98\\", 1},
           Row{"win98se", web, 0, 0, 1, true, kWdmDir + "FLAT.SYS", "", 0},
           Row{"win98", web, 1, 1, 1, true, kVxdDir + "FLAT.SYS", "", 1},
           Row{"winme", web, 1, 1, 0, true, kVxdDir + "FLAT.SYS", "", 1},
           Row{"winme", DriverRunKind::WdmOptionsDialog, 0, 0, 0, true, kWdmDir + "FLAT.SYS", "", 0},
       }) {
    DriverCd m(r.os);
    m.withCdPackages();
    if (!r.with95Folder) {
      m.remove("D:\\W95-98\\drv\\95");
      m.file("D:\\W95-98\\drv\\TVAUDIO.VXD", "MZ vxd from D:\\W95-98\\drv\\");
    }
    m.file("D:\\FLAT.SYS", "MZ flat");
    m.ctx.windows98SEDriver = r.se98;
    m.ctx.windowsMEDriver = r.me;
    m.ctx.installWDMDriver = r.wdmOption;
    // The family the main dialog chose does not decide what a CD run stages.
    m.ctx.chosenVxdDriver = r.useVxd == 1 ? 0 : 1;
    const StagedPackage staged = m.stage(r.kind);
    const std::string row = std::string(r.os) + " kind " + std::to_string(static_cast<int>(r.kind));
    EXPECT_EQ(staged.vxd ? 1 : 0, r.useVxd) << row;
    ASSERT_TRUE(m.exists(r.stagedFile)) << row;
    if (!r.from.empty()) {
      EXPECT_EQ(m.content(r.stagedFile), "MZ vxd from " + r.from) << row;
    }
    const std::string other = r.useVxd == 1 ? kWdmDir : kVxdDir;
    EXPECT_FALSE(m.exists(other)) << row << ": only one package is installed";
  }
}

TEST(StageDriverPackage, NamesDecideWhatIsMirroredAndWhatGoesToTheInfFolders) {
  DriverCd m("win98se");
  m.ctx.windows98SEDriver = 1;
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup]\r\n"
      "\"SourcePath\"=\"C:\\\\WINDOWS\\\\OPTIONS\\\\CABS\"\r\n");
  m.file("C:\\WINDOWS\\OPTIONS\\CABS\\base.cab");
  for (const char* name : {"SETUP.INF", "MySetup.dll", "DRIVER.Inf", "TVAUDIO.INF", "tv.inf.bak"}) {
    m.file(std::string("D:\\W2K-ME\\drv\\") + name, std::string("new ") + name);
  }
  // Read-only files of an earlier installation are replaced everywhere.
  for (const char* old : {"C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF", "C:\\WINDOWS\\INF\\TVAUDIO.INF",
                          "C:\\WINDOWS\\OPTIONS\\CABS\\TVAUDIO.INF"}) {
    m.file(old, "old");
    m.platform().files.SetFileAttributesA(old, FILE_ATTRIBUTE_READONLY);
  }
  const StagedInfList list = m.stage(DriverRunKind::CommandLine).infCopies;

  for (const char* name : {"SETUP.INF", "MySetup.dll", "DRIVER.Inf", "TVAUDIO.INF", "tv.inf.bak"}) {
    EXPECT_EQ(m.content(kWdmDir + name), std::string("new ") + name) << "staged: " << name;
  }
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\OPTIONS\\CABS\\SETUP.INF"));
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\OPTIONS\\CABS\\MySetup.dll"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\OPTIONS\\CABS\\DRIVER.Inf"), "new DRIVER.Inf");
  EXPECT_EQ(m.content("C:\\WINDOWS\\OPTIONS\\CABS\\TVAUDIO.INF"), "new TVAUDIO.INF");
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\DRIVER.Inf"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\SETUP.INF"), "new SETUP.INF");
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\tv.inf.bak"), "new tv.inf.bak");
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\TVAUDIO.INF"), "new TVAUDIO.INF");
  EXPECT_EQ(m.platform().files.GetFileAttributesA("C:\\WINDOWS\\INF\\TVAUDIO.INF") & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(list, (StagedInfList{"C:\\WINDOWS\\INF\\SETUP.INF", "C:\\WINDOWS\\INF\\OTHER\\SETUP.INF",
                                 "C:\\WINDOWS\\INF\\TVAUDIO.INF", "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF",
                                 "C:\\WINDOWS\\INF\\tv.inf.bak", "C:\\WINDOWS\\INF\\OTHER\\tv.inf.bak"}))
      << "in the order the search gives the names: the order the files were made in";
  EXPECT_EQ(m.machine.currentDir.str(), "C:\\WINDOWS\\OPTIONS\\CABS") << "the setup source became the current folder";
}

TEST(StageDriverPackage, AFailedMirrorCopySendsThatFileToInfOtherAndEndsTheMirror) {
  DriverCd m("winme");
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup]\r\n"
      "\"SourcePath\"=\"C:\\\\CABS\\\\\"\r\n");
  m.file("D:\\W2K-ME\\drv\\A.SYS", "a");
  m.file("D:\\W2K-ME\\drv\\B.SYS", "b");
  m.file("D:\\W2K-ME\\drv\\C.SYS", "c");
  m.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\CABS\\B.SYS"));  // a folder in the way
  const StagedInfList list = m.stage(DriverRunKind::CommandLine).infCopies;
  EXPECT_EQ(m.content("C:\\CABS\\A.SYS"), "a");
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\B.SYS"), "b");
  EXPECT_FALSE(m.exists("C:\\CABS\\C.SYS"));
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\OTHER\\C.SYS")) << "later files are neither mirrored nor sent aside";
  EXPECT_EQ(m.content(kWdmDir + "C.SYS"), "c");
  EXPECT_TRUE(list.empty()) << "the WDM package on Me places no INF copies";
}

TEST(StageDriverPackage, NoMirrorWithoutAnExistingSetupSource) {
  DriverCd m("win98se");
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup]\r\n"
      "\"SourcePath\"=\"C:\\\\GONE\"\r\n");
  m.withCdPackages();
  m.stage(DriverRunKind::CommandLine);
  EXPECT_TRUE(m.exists(kVxdDir + "TVAUDIO.VXD"));
  EXPECT_EQ(m.happenings("copy").size(), 3u + 2u + 1u) << "the package, its INF copies and the mixer";
  EXPECT_FALSE(m.exists("C:\\GONE"));
}

TEST(StageDriverPackage, CatalogMixerAndSubPackageByRunKind) {
  struct Row {
    const char* os;
    DriverRunKind kind;
    int wdm;
    bool catalog, mixerQueued, subPackage;
  };
  for (const Row& r : {Row{"win98", DriverRunKind::CommandLine, 0, false, true, false},
                       Row{"winme", DriverRunKind::CommandLine, 1, true, true, false},
                       Row{"win98", DriverRunKind::WebPackage, 0, true, true, true},
                       Row{"winme", DriverRunKind::WebPackage, 0, true, true, false},
                       Row{"win98se", DriverRunKind::WdmOptionsDialog, 1, true, false, false}}) {
    DriverCd m(r.os);
    m.withCdPackages();
    m.ctx.windowsMEDriver = r.wdm;
    m.ctx.windows98SEDriver = r.wdm;
    m.ctx.installWDMDriver = r.wdm;
    m.file("D:\\tvaudio.cat", "flat catalog");
    m.file("D:\\Mixer.dat", "MZ flat mixer");
    m.file("D:\\026\\BANK.DAT", "bank");
    m.stage(r.kind);
    const std::string row = std::string(r.os) + " kind " + std::to_string(static_cast<int>(r.kind));
    EXPECT_EQ(m.exists("C:\\WINDOWS\\INF\\CATALOG\\tvaudio.cat"), r.catalog) << row;
    EXPECT_EQ(m.exists("C:\\Program Files\\Tarvic\\W95-98\\026\\BANK.DAT"), r.subPackage) << row;
    const std::string queue = m.content("C:\\WINDOWS\\WININIT.INI");
    if (r.mixerQueued) {
      EXPECT_EQ(queue,
                "[rename]\r\nNUL=C:\\WINDOWS\\Mixer.old\r\nC:\\WINDOWS\\Mixer.old=C:\\WINDOWS\\Mixer.exe\r\n"
                "C:\\WINDOWS\\Mixer.exe=C:\\WINDOWS\\Mixer.dat\r\n")
          << row;
      EXPECT_TRUE(m.exists("C:\\WINDOWS\\Mixer.dat")) << row;
    } else {
      EXPECT_EQ(queue, "(missing)") << row;
    }
  }
}

TEST(StageDriverPackage, TheVxdPackageRetiresTheLegacyFilesBeforeItsMixerIsQueued) {
  DriverCd m("win98");
  m.withCdPackages();
  m.file("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE", "MZ legacy");
  m.stage(DriverRunKind::MainDialogWithSuite);
  EXPECT_EQ(m.content("C:\\WINDOWS\\WININIT.INI"),
            "[rename]\r\nC:\\WINDOWS\\SYSTEM\\TVMPU.OLD=C:\\WINDOWS\\SYSTEM\\TVMPU.EXE\r\n"
            "NUL=C:\\WINDOWS\\Mixer.old\r\nC:\\WINDOWS\\Mixer.old=C:\\WINDOWS\\Mixer.exe\r\n"
            "C:\\WINDOWS\\Mixer.exe=C:\\WINDOWS\\Mixer.dat\r\n");

  DriverCd wdm("win98se");
  wdm.withCdPackages();
  wdm.ctx.windows98SEDriver = 1;
  wdm.file("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE", "MZ legacy");
  wdm.stage(DriverRunKind::MainDialogWithSuite);
  EXPECT_EQ(wdm.content("C:\\WINDOWS\\WININIT.INI").find("TVMPU"), std::string::npos)
      << "the WDM package leaves the legacy files alone";
}

TEST(CopyFileOver, AFileThatIsItsOwnDestinationByAnyOfItsNamesIsInPlaceAndLeftAsItIs) {
  for (const char* os : {"win95", "winxp"}) {
    DriverCd m(os);
    const std::string inf = kVxdDir + "TVAUDIO.INF";
    m.file(inf, "the INF");
    m.platform().files.SetFileAttributesA(inf.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::string& destination : {inf, std::string("c:\\program files\\tarvic\\w95-98\\tvaudio.inf"),
                                           std::string("C:\\PROGRA~1\\TARVIC\\W95-98\\TVAUDIO.INF"),
                                           std::string("C:\\Program Files\\Tarvic\\DOS\\..\\W95-98\\TVAUDIO.INF")}) {
      EXPECT_TRUE(CopyFileOver(m.platform(), inf, destination, true)) << os << " " << destination;
    }
    EXPECT_TRUE(m.happenings("copy").empty()) << os << ": no copy was tried";
    EXPECT_EQ(m.content(inf), "the INF") << os;
    EXPECT_EQ(m.platform().files.GetFileAttributesA(inf.c_str()), DWORD{FILE_ATTRIBUTE_READONLY}) << os;

    // Another file of the same name, and a destination not yet there, are copied.
    m.file("C:\\WINDOWS\\INF\\TVAUDIO.INF", "an older INF");
    EXPECT_TRUE(CopyFileOver(m.platform(), inf, "C:\\WINDOWS\\INF\\TVAUDIO.INF", true)) << os;
    EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\TVAUDIO.INF"), "the INF") << os;
    EXPECT_TRUE(CopyFileOver(m.platform(), inf, "C:\\WINDOWS\\INF\\OTHER.INF", true)) << os;
    EXPECT_EQ(m.fields("copy", "result"), (std::vector<std::string>{"copied", "copied"})) << os;
  }
}

TEST(StageDriverPackage, ThePackageStartedAgainFromItsInstallFolderIsInPlaceAndStagedWhole) {
  // An earlier run of the download left the whole package in the install folder, SETUP.EXE and
  // setup.ini included; Setup started again from there, by its long or its short path.
  for (const std::string& folder : {kVxdDir, std::string("C:\\PROGRA~1\\TARVIC\\W95-98\\")}) {
    DriverCd m("win98");
    for (const char* name : {"SETUP.EXE", "setup.ini", "TVAUDIO.INF", "TVAUDIO.VXD", "Mixer.dat", "tvaudio.cat"}) {
      m.file(kVxdDir + name, std::string(name) == "TVAUDIO.INF" ? test::kVxdInf : "MZ");
    }
    m.file(kVxdDir + "026\\BANK026.DAT", "bank");
    m.ctx.sourceDir = folder;
    const StagedPackage staged = m.stage(DriverRunKind::WebPackage);
    EXPECT_TRUE(staged.whole) << folder;
    EXPECT_TRUE(staged.vxd) << folder;
    for (const std::string& copy : m.fields("copy", "to|result")) {
      EXPECT_EQ(copy.find("Tarvic"), std::string::npos) << folder << ": " << copy << " was its own source";
      EXPECT_NE(copy.find("| copied"), std::string::npos) << folder << ": " << copy;
    }
    EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF"), test::kVxdInf) << folder;
    EXPECT_EQ(m.content(kVxdDir + "026\\BANK026.DAT"), "bank") << folder;
  }
}

TEST(StageDriverPackage, TheWdmOptionsDialogPatchesEachStagedInfBeforeItIsCopied) {
  struct Recorder : InfPatcher {
    test::SimMachine* m = nullptr;
    std::vector<std::string> seen;
    bool ApplyWdmOptionsToInf(const std::string& path) override {
      seen.push_back(path);
      m->file(path, "patched " + path);
      return true;
    }
  };
  DriverCd m("win98se");
  m.file("D:\\TVAUDIO.INF", test::kWdmInf);
  m.file("D:\\GAME.INF", "game");
  m.file("D:\\readme.txt", "text");
  Recorder recorder;
  recorder.m = &m;
  const StagedInfList list = m.stage(DriverRunKind::WdmOptionsDialog, &recorder).infCopies;
  EXPECT_EQ(recorder.seen, (std::vector<std::string>{kWdmDir + "TVAUDIO.INF", kWdmDir + "GAME.INF"}))
      << "in the order the package's files were made";
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF"), "patched " + kWdmDir + "TVAUDIO.INF");
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\GAME.INF"), "patched " + kWdmDir + "GAME.INF");
  EXPECT_EQ(list.size(), 4u);
  EXPECT_FALSE(m.exists("C:\\Program Files\\Tarvic\\DOS")) << "no DOS drivers in this run";
}

}  // namespace
}  // namespace tvx
