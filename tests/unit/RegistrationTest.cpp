#include <gtest/gtest.h>

#include <algorithm>

#include "DriverCd.h"

namespace tvx {
namespace {

using test::DriverCd;

const char* kTray = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n";
const char* kMedia = "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA";

// A machine whose WDM package was staged; the world reacts to the re-enumeration as `events` says.
struct Registration : DriverCd {
  explicit Registration(const char* os = "winme") : DriverCd(os) {
    registry(std::string(kTray) + "\"Services\"=dword:00000003\r\n");
    // The staging before has put the WDM package in place.
    file("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF", test::kWdmInf);
  }
  void after(DWORD ms, std::function<void()> action) {
    machine.afterReenumeration.push_back(sim::TimedEvent{ms, "test", std::move(action)});
  }
  void card(const char* description, DWORD enableLegacy, const char* instance = "0003") {
    registry(std::string(kMedia) + "\\" + instance + "]\r\n\"DriverDesc\"=\"" + description + "\"\r\n" + kMedia + "\\" +
             instance + "\\Settings]\r\n\"EnableLegacy\"=dword:0000000" + std::to_string(enableLegacy) + "\r\n");
  }
  // `vxd`: the family the run staged.
  bool run(DriverRunKind kind, HWND owner = nullptr, bool vxd = false) {
    return endsProcess([&] { RegisterDriverAndRestart(ctx, platform(), kind, owner, vxd); });
  }
};

TEST(RegisterDriverAndRestart, TheWdmDriverIsRegisteredAndEveryWaitEndsWhenTheWorldIsReady) {
  Registration m("winme");
  m.file("C:\\WINDOWS\\INF\\Drvdata.bin");
  m.file("C:\\WINDOWS\\INF\\Drvidx.bin");
  m.platform().files.SetFileAttributesA("C:\\WINDOWS\\INF\\Drvidx.bin", FILE_ATTRIBUTE_READONLY);
  m.file("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF", test::kWdmInf);
  m.after(7000, [&] { m.machine.mixerDevices = 1; });
  m.after(7500, [&] { m.machine.windows.push_back({"Driver Setup", "TVDNINST", false, true}); });
  m.after(9000, [&] { m.card("TVX4400/QSND PCI Audio Device", 1); });
  m.after(11000, [&] { m.machine.windows.back().open = false; });
  m.after(12000, [&] { m.registry(std::string(kTray) + "\"Services\"=dword:00000007\r\n"); });
  m.after(17000,
          [&] { m.registry(std::string(kMedia) + "\\0004]\r\n\"DriverDesc\"=\"TVX4400/QSND PCI game port\"\r\n"); });
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine));

  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\Drvdata.bin"));
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\Drvidx.bin"));
  EXPECT_EQ(
      m.fields("oem inf", "inf|source"),
      std::vector<std::string>{"C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF | C:\\Program Files\\Tarvic\\W2K-ME"});
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\INF\\OTHER\\TarvicTVAUDIO.INF"));
  EXPECT_EQ(m.sleeps(3000), 3u) << "the mixer count rose 7 s after the re-enumeration";
  // The installer's window is seen at 10 s, gone at 11 s: five quiet polls follow. The tray bit
  // came back at 12 s; the game port appears at 17 s, on the second game-port pass.
  EXPECT_EQ(m.sleeps(1000), 6u + 5u);
  EXPECT_EQ(m.sleeps(2000), 1u);
  EXPECT_EQ(m.sleeps(5000), 1u);
  EXPECT_EQ(m.fields("message", "text|owner"),
            std::vector<std::string>{"Setup completed! The system will restart now! | none"});
  EXPECT_TRUE(m.machine.restartRequested);
  EXPECT_EQ(m.machine.exitCode, 0);
  EXPECT_LE(m.machine.log.back().at, 30000u);
  EXPECT_EQ(m.sim.registry().openHandles(), 0u) << "every key of the scans is closed again";
  EXPECT_EQ(m.sim.devices().openLists(), 0u);
}

TEST(RegisterDriverAndRestart, EachWaitKeepsItsBound) {
  // Nothing ever happens: the mixer wait takes its 60 passes, the tray wait its 30, the window
  // waits five quiet polls each, and a TVX4300 with the legacy devices enabled sits out the 20
  // game-port passes, since only the TVX4400's game port is looked for.
  Registration m("win98se");
  m.card("TVX4300/QSND PCI Audio Device", 3);
  m.registry(std::string(kMedia) + "\\0005]\r\n\"DriverDesc\"=\"TVX4300/QSND PCI game port\"\r\n");
  EXPECT_TRUE(m.run(DriverRunKind::WebPackage));
  EXPECT_EQ(m.sleeps(3000), 60u);
  EXPECT_EQ(m.sleeps(2000), 30u + 20u);
  EXPECT_EQ(m.sleeps(1000), 5u + 5u);
  EXPECT_TRUE(m.happenings("oem inf").empty()) << "Windows 98 SE uses the INF copies instead";
  EXPECT_EQ(m.machine.now, 180000u + 5000u + 60000u + 40000u + 5000u + 5000u);
}

TEST(RegisterDriverAndRestart, NoTrayWaitWhenTheMixerWasThereAtOnce) {
  Registration m("winme");
  m.after(0, [&] { m.machine.mixerDevices = 2; });
  m.card("TVX4400/QSND PCI Audio Device", 2);  // legacy devices off: no game port wait either
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine));
  EXPECT_EQ(m.sleeps(3000), 0u);
  EXPECT_EQ(m.sleeps(2000), 0u) << "the tray bit is still clear, but the mixer needed no pass";
  EXPECT_EQ(m.machine.now, 5000u + 5000u + 5000u);
}

TEST(RegisterDriverAndRestart, ADiskPromptKeepsTheWindowWaitGoing) {
  Registration m("winme");
  m.after(0, [&] { m.machine.mixerDevices = 1; });
  m.after(2500, [&] { m.machine.windows.push_back({"__Win95SetupDiskQuery", "__Win95SetupDiskQuery", false, true}); });
  m.after(40000, [&] { m.machine.windows.back().open = false; });  // the user answers after 40 s
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine));
  EXPECT_EQ(m.sleeps(1000), 44u + 5u) << "polls until 5 s after the prompt went at 40 s, then the second wait";
}

TEST(RegisterDriverAndRestart, TheVxdPackageGoesStraightToTheEnd) {
  Registration m("win98");
  m.file("C:\\WINDOWS\\INF\\Drvdata.bin");
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine, nullptr, true));
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\INF\\Drvdata.bin"));
  EXPECT_TRUE(m.happenings("source list").empty());
  EXPECT_TRUE(m.happenings("device").empty());
  EXPECT_EQ(m.machine.now, 5000u + 5000u);
  EXPECT_TRUE(m.machine.restartRequested);
}

TEST(RegisterDriverAndRestart, TheMainDialogIsRepaintedDuringTheFirstWaitsAndTheRunReturns) {
  Registration m("winme");
  HWND dialog = m.sim.windows().addOwnWindow("PCI Audio Device Driver And Applications Setup Program");
  m.after(6000, [&] { m.machine.mixerDevices = 1; });
  EXPECT_FALSE(m.run(DriverRunKind::MainDialogDriverOnly, dialog)) << "the dialog ends itself with OK";
  // 2 mixer passes, 5 polls of the first window wait, 30 tray passes (the bit never comes back);
  // none in the second window wait.
  EXPECT_EQ(m.happenings("repaint").size(), 2u + 5u + 30u);
  for (const auto& r : m.happenings("repaint")) EXPECT_EQ(r.field("flags"), "261");
  EXPECT_EQ(m.fields("message", "owner"),
            std::vector<std::string>{"PCI Audio Device Driver And Applications Setup Program"});
  EXPECT_TRUE(m.machine.restartRequested);
}

// The setup API and configuration manager calls of the run, in order.
std::vector<std::string> registrationCalls(const sim::Machine& machine) {
  std::vector<std::string> calls;
  for (const char* call : machine.faults.made) {
    const std::string name = call;
    if (name.rfind("Setup", 0) == 0 || name.rfind("CM_", 0) == 0) calls.push_back(name);
  }
  return calls;
}

TEST(RegisterDriverAndRestart, WindowsIsAskedToInstallTheDeviceOnlyOnceItCanFindTheDriver) {
  // The OEM INF copy, the source list read or written: where one fails, the device tree is not
  // re-enumerated, and the person is told at once, without a restart.
  for (const char* failing : {"SetupCopyOEMInfA", "SetupQuerySourceListA", "SetupSetSourceListA"}) {
    Registration m("winme");
    m.machine.faults.failFirst = failing;
    m.after(0, [&] { m.machine.mixerDevices = 1; });
    EXPECT_TRUE(m.run(DriverRunKind::CommandLine)) << failing;
    EXPECT_EQ(m.fields("message", "text"),
              std::vector<std::string>{"Can not complete the installation. Please run Setup again."})
        << failing;
    const std::vector<std::string> calls = registrationCalls(m.machine);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "CM_Reenumerate_DevNode"), 0) << failing;
    EXPECT_EQ(calls.back(), failing) << failing << ": nothing is asked of Windows after it";
    EXPECT_FALSE(m.machine.restartRequested) << failing;
    EXPECT_EQ(m.sim.devices().openLists(), 0u) << failing;
  }
  // The same on the good path: the calls in their order.
  Registration good("winme");
  good.after(0, [&] { good.machine.mixerDevices = 1; });
  EXPECT_TRUE(good.run(DriverRunKind::CommandLine));
  EXPECT_EQ(registrationCalls(good.machine),
            (std::vector<std::string>{"SetupCopyOEMInfA", "SetupQuerySourceListA", "SetupSetSourceListA",
                                      "CM_Locate_DevNodeA", "CM_Reenumerate_DevNode"}));
  EXPECT_EQ(good.sim.devices().openLists(), 0u) << "the queried list is released after the re-enumeration";
  EXPECT_TRUE(good.machine.restartRequested);
}

TEST(ExtendSourceList, EveryEntryIsKeptAndTheFolderAddedOnEachRun) {
  Registration m("winme");
  std::string entries;
  for (int i = 0; i < 150; ++i) entries += "C:\\SRC" + std::to_string(i) + std::string(1, '\0');
  std::string hex;
  for (unsigned char c : entries + std::string(1, '\0')) {
    char b[4];
    std::snprintf(b, sizeof(b), "%02x", c);
    hex += (hex.empty() ? "" : ",") + std::string(b);
  }
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup]\r\n"
      "\"Installation Sources\"=hex(7):" +
      hex + "\r\n");
  { ExtendSourceList first(m.platform(), "C:\\Program Files\\Tarvic\\W2K-ME"); }
  { ExtendSourceList second(m.platform(), "C:\\Program Files\\Tarvic\\W2K-ME"); }
  auto writes = m.happenings("source list");
  ASSERT_EQ(writes.size(), 4u);
  const std::string last = writes[3].field("set");
  EXPECT_EQ(last.find("C:\\SRC0; C:\\SRC1; "), 0u);
  EXPECT_NE(last.find("C:\\SRC149; C:\\Program Files\\Tarvic\\W2K-ME; C:\\Program Files\\Tarvic\\W2K-ME"),
            std::string::npos)
      << last;
  EXPECT_EQ(m.sim.devices().openLists(), 0u);
}

TEST(ExtendSourceList, AListTheSetupApiCannotReadIsNotWrittenAndTheRunGoesOn) {
  Registration m("winme");
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup]\r\n"
      "\"Installation Sources\"=hex(7):41,3a,5c,00,00\r\n");
  m.machine.failingCalls.insert("SetupQuerySourceListA");
  m.after(0, [&] { m.machine.mixerDevices = 1; });
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine));
  EXPECT_TRUE(m.happenings("source list").empty());
  const sim::RegValue* sources =
      m.value(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup", "Installation Sources");
  ASSERT_NE(sources, nullptr);
  EXPECT_EQ(sources->data, (std::vector<BYTE>{'A', ':', '\\', 0, 0}));
  // This setup API keeps no list it can read (not implemented, as in Wine): there is none to extend.
  EXPECT_TRUE(m.machine.restartRequested) << "the run goes on";
}

TEST(ExtendSourceList, AListThatCouldNotBeReadThisOnceIsToldNotCompleted) {
  Registration m("winme");
  m.machine.faults.failFirst = "SetupQuerySourceListA";  // out of memory, this once
  m.after(0, [&] { m.machine.mixerDevices = 1; });
  EXPECT_TRUE(m.run(DriverRunKind::CommandLine));
  EXPECT_TRUE(m.happenings("source list").empty()) << "Windows' own list is not replaced by ours alone";
  EXPECT_EQ(m.fields("message", "text"),
            std::vector<std::string>{"Can not complete the installation. Please run Setup again."});
  EXPECT_FALSE(m.machine.restartRequested);
  EXPECT_EQ(m.sleeps(3000), 0u) << "no wait for a device Windows cannot install";
}

}  // namespace
}  // namespace tvx
