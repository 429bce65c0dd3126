#include <gtest/gtest.h>

#include "DriverCd.h"
#include "FailingCalls.h"

namespace tvx {
namespace {

using test::DriverCd;
using test::kAnnouncement;

const char* kIncomplete = "Can not complete the installation. Please run Setup again.";
const char* kTrayKeys =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n"
    "\"Services\"=dword:00000007\r\n";

// A whole driver run on a CD machine where Windows installs the card at once.
struct DriverRun : DriverCd {
  explicit DriverRun(const char* os) : DriverCd(os) {
    withCdPackages();
    registry(kTrayKeys);
    machine.afterReenumeration.push_back(sim::TimedEvent{0, "mixer", [this] { machine.mixerDevices = 1; }});
    machine.devices.push_back(sim::Device{"PCI\\VEN_1D0C&DEV_0111\\0", {"PCI\\VEN_1D0C&DEV_0111"}, true, false});
  }
  // True when the run ended the process; a run that comes back leaves what it staged in `staged`.
  bool run(DriverRunKind kind, HWND owner = nullptr, InfPatcher* patcher = nullptr) {
    return endsProcess([&] { staged = RunDriverInstallation(ctx, platform(), kind, owner, patcher); });
  }
  StagedPackage staged;
  // The kinds of happenings of interest, in order, as one line.
  std::string steps() const {
    std::string out;
    for (const auto& h : machine.log) {
      std::string step;
      if (h.kind == "message") step = h.field("text") == kAnnouncement ? "announce" : "complete";
      if (h.kind == "hide") step = "hide";
      if (h.kind == "cursor") step = h.field("shape");
      if (h.kind == "start" || h.kind == "start failed") step = "systray";
      if (h.kind == "device" && !h.field("removed").empty()) step = "remove";
      if (h.kind == "device" && !h.field("reenumerated").empty()) step = "reenumerate";
      if (h.kind == "restart") step = "restart";
      if (h.kind == "exit") step = "exit";
      if (!step.empty()) out += (out.empty() ? "" : " ") + step;
    }
    return out;
  }
  HWND dialog(const char* title) { return sim.windows().addOwnWindow(title); }
  // Whether the device tree was re-enumerated: Windows was asked to install the device now.
  bool reenumerated() const {
    for (const auto& h : happenings("device")) {
      if (!h.field("reenumerated").empty()) return true;
    }
    return false;
  }
};

TEST(RunDriverInstallation, TheOrderOfStepsOfEachRunKind) {
  DriverRun suite("win98se");
  suite.ctx.windows98SEDriver = 1;
  EXPECT_FALSE(suite.run(DriverRunKind::MainDialogWithSuite, suite.dialog("Main")));
  EXPECT_EQ(suite.steps(), "systray hourglass remove arrow") << "no announcement, no registration, no restart";
  EXPECT_FALSE(suite.staged.vxd) << "the CD's rule stages the WDM package the setup.ini asks for";
  EXPECT_TRUE(suite.exists("C:\\WINDOWS\\INF\\TVAUDIO.INF")) << "the INF steps ran";

  DriverRun dialogOnly("winme");
  HWND main = dialogOnly.dialog("Main");
  EXPECT_FALSE(dialogOnly.run(DriverRunKind::MainDialogDriverOnly, main));
  EXPECT_EQ(dialogOnly.steps(), "announce systray hourglass remove reenumerate complete restart arrow");
  for (const auto& m : dialogOnly.happenings("message")) EXPECT_EQ(m.field("owner"), "Main");

  DriverRun command("win95");
  EXPECT_TRUE(command.run(DriverRunKind::CommandLine));
  EXPECT_EQ(command.steps(), "announce systray hourglass remove complete restart exit");
  for (const auto& m : command.happenings("message")) EXPECT_EQ(m.field("owner"), "none");

  DriverRun web("win98se");
  web.file("D:\\TVAUDIO.INF", test::kWdmInf);
  web.ctx.installWDMDriver = 1;
  EXPECT_TRUE(web.run(DriverRunKind::WebPackage));
  EXPECT_EQ(web.steps(), "announce hourglass systray remove reenumerate complete restart exit");

  DriverRun wdm("win98se");
  wdm.file("D:\\TVAUDIO.INF", test::kWdmInf);
  struct NoPatch : InfPatcher {
    int calls = 0;
    bool ApplyWdmOptionsToInf(const std::string&) override {
      ++calls;
      return true;
    }
  } patcher;
  HWND options = wdm.dialog("Options");
  EXPECT_TRUE(wdm.run(DriverRunKind::WdmOptionsDialog, options, &patcher));
  EXPECT_EQ(wdm.steps(), "hourglass announce hide systray remove reenumerate complete restart exit");
  EXPECT_EQ(patcher.calls, 1);
  EXPECT_EQ(wdm.fields("message", "owner"), (std::vector<std::string>{"none", "Options"}))
      << "the announcement has no owner";
}

TEST(PrepareForDriverInstall, TrayMixerSettingsAndRemovalOfEarlierDrivers) {
  DriverRun m("win98se");
  m.machine.windows = {{"SoundDeck", "", false, true}, {"Mixer", "", false, true}};
  m.registry(
      "[HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n"
      "\"Services\"=hex:17,00,00,00\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111&SUBSYS_1]\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111&SUBSYS_1\\Child]\r\n");
  m.file("C:\\WINDOWS\\INF\\OTHER\\TarvicOld.INF", "[Strings]\r\nSSC-Legacy.DeviceDesc=\"TVX4400 old\"\r\n");
  PrepareForDriverInstall(m.platform(), DriverRunKind::CommandLine, nullptr);
  EXPECT_EQ(m.fields("close", "window"), std::vector<std::string>{"Mixer"})
      << "only the mixer; the suite stays in this run kind";
  const std::string tray = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray";
  EXPECT_EQ(m.value(HKEY_CURRENT_USER, tray, "Services")->data, (std::vector<BYTE>{3, 0, 0, 0}));
  const sim::RegValue* others = m.value(HKEY_USERS, ".DEFAULT\\" + tray, "Services");
  EXPECT_EQ(others->data, (std::vector<BYTE>{0x13, 0, 0, 0})) << "bit value 4 cleared, the rest kept";
  EXPECT_EQ(others->type, REG_BINARY) << "written back with the type it was read with";
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\mixerdef.ini")) << "a missing mixerdef.ini is not created";
  EXPECT_FALSE(m.machine.devices[0].present);
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1D0C&DEV_0111&SUBSYS_1"));
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\OTHER\\TarvicOld.INF"));
  EXPECT_EQ(m.fields("start failed", "commandLine").at(0), "SysTray.exe");

  DriverRun settings("winme");
  settings.file("C:\\WINDOWS\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\nOther=5\r\n");
  PrepareForDriverInstall(settings.platform(), DriverRunKind::MainDialogWithSuite, nullptr);
  EXPECT_EQ(settings.content("C:\\WINDOWS\\mixerdef.ini"), "[RUNTIME]\r\nInitialize=0\r\nOther=5\r\n");
  EXPECT_TRUE(settings.happenings("message").empty());
}

TEST(PrepareForDriverInstall, TheTrayProgramStartsAfterTheVolumeBitIsCleared) {
  // Windows' tray program reads "Services" as it starts: started before the bit is cleared, it
  // would keep the volume icon up, and with it the mixer device open, through the driver swap.
  DriverRun m("win98se");
  m.program("C:\\WINDOWS\\SYSTEM\\SysTray.exe");
  PrepareForDriverInstall(m.platform(), DriverRunKind::CommandLine, nullptr);
  EXPECT_EQ(m.fields("tray", "services|volumeIcon"), std::vector<std::string>{"0x00000003 | off"});
  EXPECT_EQ(m.happenings("start")[0].field("show"), "SW_SHOW");
}

TEST(RunDriverInstallation, AWindowsWithoutTheSetupApiAndTheConfigurationManagerStillEndsTheRun) {
  // Windows 95 as it ships: the device stays, nothing is re-enumerated, the waits bound themselves.
  DriverRun vxd("win95");
  vxd.machine.missingDlls = {"setupapi.dll", "cfgmgr32.dll"};
  EXPECT_TRUE(vxd.run(DriverRunKind::CommandLine));
  EXPECT_EQ(vxd.steps(), "announce systray hourglass complete restart exit");
  EXPECT_TRUE(vxd.machine.devices[0].present);
  EXPECT_EQ(vxd.happenings("missing dll").size(), 1u) << "the device list cannot be had: nothing more is asked";
  EXPECT_TRUE(vxd.exists("C:\\WINDOWS\\INF\\TVAUDIO.INF"));

  // The WDM package where the setup API and the configuration manager are missing (a download on
  // a Windows that lost them): the run still ends, after the mixer wait's 60 passes.
  DriverRun wdm("win98se");
  wdm.machine.missingDlls = {"setupapi.dll", "cfgmgr32.dll"};
  wdm.file("D:\\TVAUDIO.INF", test::kWdmInf);
  wdm.ctx.installWDMDriver = 1;
  EXPECT_TRUE(wdm.run(DriverRunKind::WebPackage));
  EXPECT_EQ(wdm.steps(), "announce hourglass systray complete restart exit");
  EXPECT_EQ(wdm.sleeps(3000), 60u);
  EXPECT_EQ(wdm.fields("missing dll", "call"),
            (std::vector<std::string>{"SetupDiGetClassDevsA", "SetupQuerySourceListA", "CM_Locate_DevNodeA"}));
  EXPECT_EQ(wdm.sim.devices().openLists(), 0u);
}

TEST(PrepareForDriverInstall, TheWdmOptionsRunRefusesEveryWindowsButSecondEditionAndMe) {
  for (const char* os : {"win95", "win98", "nt40", "win98se", "winme"}) {
    DriverRun m(os);
    m.machine.modulePath = "C:\\DOWNLOAD\\TVWDM.EXE";
    m.machine.windows = {{"CD Player", "", false, true}, {"MP3 Player", "", false, true}};
    m.file("C:\\WINDOWS\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
    HWND options = m.dialog("Options");
    const bool ended =
        m.endsProcess([&] { PrepareForDriverInstall(m.platform(), DriverRunKind::WdmOptionsDialog, options); });
    const bool accepted = std::string(os) == "win98se" || std::string(os) == "winme";
    EXPECT_EQ(ended, !accepted) << os;
    std::vector<std::string> boxes{std::string(kAnnouncement) + " | Setup | none"};
    if (!accepted) boxes.push_back("This WDM driver can only be installed on Windows 98SE/ME/2000 | TVWDM | Options");
    EXPECT_EQ(m.fields("message", "text|caption|owner"), boxes) << os;
    // The preparation before the check stays done; the earlier drivers are only removed when accepted.
    EXPECT_EQ(m.content("C:\\WINDOWS\\mixerdef.ini"), "[RUNTIME]\r\nInitialize=0\r\n") << os;
    EXPECT_EQ(m.happenings("close").size(), 2u) << os << ": both players, as the console was not running";
    EXPECT_EQ(m.happenings("hide").size(), 1u) << os;
    EXPECT_EQ(m.machine.devices[0].present, !accepted) << os;
  }
}

TEST(RunDriverInstallation, APieceWindowsNeedsThatCannotBePutInPlaceIsToldNotCompleted) {
  const struct {
    const char* os;
    const char* blocked;  // what cannot be made
  } cases[] = {
      {"win98se", "C:\\Program Files\\Tarvic\\W95-98\\TVAUDIO.VXD"},  // a package file staged
      {"win95", "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF"},              // an INF copy
      {"win98se", "C:\\WINDOWS\\Mixer.dat"},                          // the new mixer beside the old one
      {"winme", "C:\\WINDOWS\\INF\\CATALOG\\tvaudio.cat"},            // the WDM package's catalog
  };
  for (const auto& c : cases) {
    DriverRun m(c.os);
    // A folder where the file must go: Windows refuses to copy over it, as over a file it cannot replace.
    m.machine.files.makeDirectories(*sim::parseAbsolutePath(c.blocked));
    EXPECT_TRUE(m.run(DriverRunKind::CommandLine)) << c.blocked;
    EXPECT_EQ(m.fields("message", "text"), (std::vector<std::string>{kAnnouncement, kIncomplete})) << c.blocked;
    EXPECT_FALSE(m.machine.restartRequested) << c.blocked;
  }
  // The same run with nothing in the way completes.
  DriverRun whole("win98se");
  EXPECT_TRUE(whole.run(DriverRunKind::CommandLine));
  EXPECT_EQ(whole.fields("message", "text").back(), "Setup completed! The system will restart now!");
}

// The number of the run's copy to `destination`, in a run of the same machine without change.
std::size_t copyNumberTo(const char* os, const std::string& destination) {
  DriverRun m(os);
  m.run(DriverRunKind::CommandLine);
  const auto copies = m.fields("copy", "to");
  for (std::size_t i = 0; i < copies.size(); ++i) {
    if (copies[i] == destination) return i + 1;
  }
  return 0;
}

TEST(RunDriverInstallation, AMixerThatCannotBeReadIsAFailedStepOnlyAMissingOneIsNoMixer) {
  // The CD taken out right after the catalog's copy, the last copy before the mixer is looked at.
  const std::size_t catalog = copyNumberTo("winme", "C:\\WINDOWS\\INF\\CATALOG\\tvaudio.cat");
  ASSERT_GT(catalog, 0u);
  DriverRun out("winme");
  out.machine.afterCopies.emplace(catalog,
                                  sim::TimedEvent{0, "eject=D", [&] { out.machine.drivesWithoutMedium.insert('D'); }});
  EXPECT_TRUE(out.run(DriverRunKind::CommandLine));
  EXPECT_EQ(out.fields("message", "text"), (std::vector<std::string>{kAnnouncement, kIncomplete}));
  EXPECT_FALSE(out.machine.restartRequested);
  EXPECT_EQ(out.content("C:\\WINDOWS\\WININIT.INI"), "(missing)") << "no mixer replacement queued";
  EXPECT_FALSE(out.reenumerated()) << "Windows was not asked to install the device";

  // A package without the mixer: nothing to replace, and the run completes.
  DriverRun none("winme");
  none.remove("D:\\W2K-ME\\drv\\Mixer.dat");
  EXPECT_TRUE(none.run(DriverRunKind::CommandLine));
  EXPECT_EQ(none.fields("message", "text").back(), "Setup completed! The system will restart now!");
  EXPECT_EQ(none.content("C:\\WINDOWS\\WININIT.INI"), "(missing)");
}

TEST(RunDriverInstallation, TheMixerIsRenamedAtTheNextStartOnlyAfterAGoodCopyAndNeverHalfWay) {
  const std::string nul = "NUL=C:\\WINDOWS\\Mixer.old\r\n";
  const std::string backup = "C:\\WINDOWS\\Mixer.old=C:\\WINDOWS\\Mixer.exe\r\n";
  const std::string mixer = "C:\\WINDOWS\\Mixer.exe=C:\\WINDOWS\\Mixer.dat\r\n";
  // The new mixer cannot be put beside the old one: a folder stands in its way.
  DriverRun blocked("win98se");
  blocked.machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\WINDOWS\\Mixer.dat"));
  EXPECT_TRUE(blocked.run(DriverRunKind::CommandLine));
  EXPECT_EQ(blocked.fields("message", "text"), (std::vector<std::string>{kAnnouncement, kIncomplete}));
  EXPECT_EQ(blocked.content("C:\\WINDOWS\\WININIT.INI"), "(missing)");
  EXPECT_FALSE(blocked.machine.restartRequested);

  // Each entry of the queue refused in turn: what is left never moves the mixer in use aside
  // without the new one taking its place.
  const struct {
    const char* refused;  // the key whose write fails
    std::string left;     // the rename queue after the run
  } cases[] = {{"NUL", "(missing)"},
               {"C:\\WINDOWS\\Mixer.old", "[rename]\r\n" + nul},
               {"C:\\WINDOWS\\Mixer.exe", "[rename]\r\n" + nul}};
  for (const auto& c : cases) {
    DriverRun m("win98se");
    test::FailingProfileWrites writes(m.platform(),
                                      [&](const std::string& file, const std::string&, const std::string& key) {
                                        return file == "WININIT.INI" && key == c.refused;
                                      });
    const Platform p = test::withProfiles(m.platform(), writes);
    EXPECT_TRUE(m.endsProcess([&] { RunDriverInstallation(m.ctx, p, DriverRunKind::CommandLine, nullptr); }));
    EXPECT_EQ(writes.refused, 1) << c.refused;
    EXPECT_EQ(m.fields("message", "text"), (std::vector<std::string>{kAnnouncement, kIncomplete})) << c.refused;
    EXPECT_EQ(m.content("C:\\WINDOWS\\WININIT.INI"), c.left) << c.refused;
  }
  DriverRun whole("win98se");
  EXPECT_TRUE(whole.run(DriverRunKind::CommandLine));
  EXPECT_EQ(whole.content("C:\\WINDOWS\\WININIT.INI"), "[rename]\r\n" + nul + backup + mixer);
}

TEST(RunDriverInstallation, AnInfCopyWhoseSourceDiskCannotBeWrittenIsToldAndNothingStarts) {
  // Each write of the INF preparation refused alone: the copy would keep naming the CD, where
  // Windows would look for the driver's files after the restart.
  const struct {
    int wdm;              // Windows98SEDriver of setup.ini: the family staged
    const char* copy;     // the INF copy whose write is refused
    const char* section;  // and the section written
  } cases[] = {{0, "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF", "SourceDisksNames"},
               {1, "C:\\WINDOWS\\INF\\TVAUDIO.INF", "SourceDisksNames"},
               {1, "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF", "SourceDisksFiles"}};
  for (const auto& c : cases) {
    const std::string name = std::string(c.copy) + " [" + c.section + "]";
    DriverRun m("win98se");
    m.ctx.windows98SEDriver = c.wdm;
    test::FailingProfileWrites writes(m.platform(),
                                      [&](const std::string& file, const std::string& section, const std::string&) {
                                        return file == c.copy && section == c.section;
                                      });
    const Platform p = test::withProfiles(m.platform(), writes);
    EXPECT_TRUE(m.endsProcess([&] { RunDriverInstallation(m.ctx, p, DriverRunKind::CommandLine, nullptr); })) << name;
    EXPECT_EQ(writes.refused, 1) << name;
    EXPECT_EQ(m.fields("message", "text"), (std::vector<std::string>{kAnnouncement, kIncomplete})) << name;
    EXPECT_FALSE(m.reenumerated()) << name << ": Windows was not asked to install the device";
    EXPECT_FALSE(m.machine.restartRequested) << name;
  }
}

TEST(RunDriverInstallation, APackageWhoseListingWasCutShortIsToldAndNothingStarts) {
  // The CD taken out while its package folder is listed, right after the INF: the package looks
  // like one, but the files listed after the INF were never staged.
  const struct {
    const char* os;
    const char* pattern;
  } cases[] = {{"win98se", "D:\\W95-98\\drv\\98\\*.*"}, {"winme", "D:\\W2K-ME\\drv\\*.*"}};
  for (const auto& c : cases) {
    DriverRun m(c.os);
    test::ListingCutShort files(m.platform(), c.pattern, "TVAUDIO.INF");
    const Platform p = test::withFiles(m.platform(), files);
    EXPECT_TRUE(m.endsProcess([&] { RunDriverInstallation(m.ctx, p, DriverRunKind::CommandLine, nullptr); })) << c.os;
    EXPECT_GE(files.cut, 1) << c.os;
    EXPECT_EQ(m.fields("message", "text"), (std::vector<std::string>{kAnnouncement, kIncomplete})) << c.os;
    EXPECT_FALSE(m.reenumerated()) << c.os << ": Windows was not asked to install the device";
    EXPECT_FALSE(m.machine.restartRequested) << c.os;
  }
}

TEST(RunDriverInstallation, AWindowsItCannotTellGetsNoDriverAndIsToldWhy) {
  for (const DriverRunKind kind : {DriverRunKind::CommandLine, DriverRunKind::MainDialogWithSuite,
                                   DriverRunKind::MainDialogDriverOnly, DriverRunKind::WebPackage}) {
    DriverRun m("win98se");
    m.file("D:\\TVAUDIO.INF", test::kVxdInf);
    m.ctx.isWin98 = m.ctx.isWin98SE = 0;  // the version could not be read
    EXPECT_TRUE(m.run(kind)) << static_cast<int>(kind);
    EXPECT_EQ(m.fields("message", "text"),
              std::vector<std::string>{"Can not tell the version of Windows. The driver can not be installed."})
        << static_cast<int>(kind) << ": running Setup again would not help";
    EXPECT_FALSE(m.exists("C:\\Program Files\\Tarvic")) << static_cast<int>(kind) << ": nothing was staged";
    EXPECT_TRUE(m.machine.devices[0].present) << static_cast<int>(kind) << ": the earlier device stays";
  }
}

TEST(RunDriverInstallation, APackageOfTheOtherFamilyIsNoPackage) {
  // The CD's VxD folder holds the WDM INF: Windows 95 has no package of its own family there.
  DriverRun m("win95");
  m.file("D:\\W95-98\\drv\\95\\TVAUDIO.INF", test::kWdmInf);
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine));
  EXPECT_EQ(m.fields("message", "text"), std::vector<std::string>{"Can not find installation files."});
  EXPECT_TRUE(m.machine.devices[0].present) << "the earlier device is not removed";
}

}  // namespace
}  // namespace tvx
