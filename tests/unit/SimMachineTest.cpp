#include <gtest/gtest.h>

#include <string>

#include "SimMachine.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

using test::SimMachine;
namespace fs = std::filesystem;

TEST(SimBoot, CarriesOutTheRenameQueueInOrderByShortNames) {
  SimMachine m("winme");
  m.file("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE", "mpu");
  m.file("C:\\WINDOWS\\Mixer.old", "oldest");
  m.file("C:\\WINDOWS\\Mixer.exe", "old mixer");
  m.file("C:\\WINDOWS\\Mixer.dat", "new mixer");
  m.file("C:\\Program Files\\Tarvic\\long.dll", "long");
  m.file("C:\\WINDOWS\\WININIT.INI",
         "[rename]\r\nC:\\WINDOWS\\SYSTEM\\TVMPU.OLD=C:\\WINDOWS\\SYSTEM\\TVMPU.EXE\r\nNUL=C:\\WINDOWS\\Mixer.old\r\n"
         "C:\\WINDOWS\\Mixer.old=C:\\WINDOWS\\Mixer.exe\r\nC:\\WINDOWS\\Mixer.exe=C:\\WINDOWS\\Mixer.dat\r\n"
         "C:\\X.DLL=C:\\Program Files\\Tarvic\\long.dll\r\n");
  auto done = m.machine.boot();
  ASSERT_EQ(done.size(), 5u);
  EXPECT_EQ(m.content("C:\\WINDOWS\\SYSTEM\\TVMPU.OLD"), "mpu");
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\Mixer.old"), "old mixer");
  EXPECT_EQ(m.content("C:\\WINDOWS\\Mixer.exe"), "new mixer");
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\Mixer.dat"));
  EXPECT_EQ(done[4].rfind("skipped", 0), 0u) << "WININIT knows only short names: " << done[4];
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\WININIT.INI"));
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\WININIT.BAK"));
}

TEST(SimBoot, EntriesThatCannotBeCarriedOutAreSkippedAndTheQueueIsKept) {
  SimMachine m("win98se");
  m.file("C:\\WINDOWS\\SYSTEM\\TVMPU.EXE", "legacy");
  m.file("C:\\WINDOWS\\Mixer.dat", "new mixer");
  const std::string queue =
      "[rename]\r\nC:\\WINDOWS=C:\\WINDOWS\\Mixer.dat\r\nNUL=C:\\WINDOWS\\WININIT.INI\r\n"
      "C:\\WINDOWS\\SYSTEM\\TVMPU.OLD=C:\\WINDOWS\\SYSTEM\\TVMPU.EXE\r\n";
  m.file("C:\\WINDOWS\\WININIT.INI", queue);
  auto done = m.machine.boot();
  ASSERT_EQ(done.size(), 3u);
  EXPECT_EQ(done[0], "skipped C:\\WINDOWS=C:\\WINDOWS\\Mixer.dat (the destination is a folder)");
  EXPECT_EQ(done[1], "deleted C:\\WINDOWS\\WININIT.INI");
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\SYSTEM\\TVMPU.OLD")) << "the entries after it still happen";
  EXPECT_EQ(m.content("C:\\WINDOWS\\Mixer.dat"), "new mixer");
  EXPECT_EQ(m.content("C:\\WINDOWS\\WININIT.BAK"), queue);
}

TEST(SimBoot, NtFamilyLeavesWininitAlone) {
  SimMachine m("win2k");
  m.file("C:\\WINDOWS\\A.DLL");
  m.file("C:\\WINDOWS\\WININIT.INI", "[rename]\r\nNUL=C:\\WINDOWS\\A.DLL\r\n");
  EXPECT_TRUE(m.machine.boot().empty());
  EXPECT_TRUE(m.exists("C:\\WINDOWS\\A.DLL"));
}

TEST(SimProcesses, AnUnquotedPathWithABlankStartsTheFirstProgramThatExists) {
  SimMachine m;
  m.machine.files.addDrive('E');
  m.program("E:\\Driver CD\\W2KSetup.dat");
  IProcesses& processes = m.platform().processes;
  EXPECT_GT(processes.WinExec("E:\\Driver CD\\W2KSetup.dat /DRIVER", SW_SHOW), 31u);
  m.program("E:\\Driver.exe");
  EXPECT_GT(processes.WinExec("E:\\Driver CD\\W2KSetup.dat /DRIVER", SW_SHOW), 31u);
  EXPECT_GT(processes.WinExec("\"E:\\Driver CD\\W2KSetup.dat\" /DRIVER", SW_SHOW), 31u);
  EXPECT_EQ(processes.WinExec("E:\\Missing.exe", SW_SHOW), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(m.fields("start", "program"),
            (std::vector<std::string>{"E:\\Driver CD\\W2KSetup.dat", "E:\\Driver.exe", "E:\\Driver CD\\W2KSetup.dat"}));
}

TEST(SimProcesses, AProgramRunsForItsTimeAndClosesItsWindowsWhenItEnds) {
  SimMachine m;
  m.program("C:\\Uninst.exe");
  m.machine.programs["C:\\UNINST.EXE"] = sim::ProgramBehaviour{1000, 0, 3, {"Uninstall"}, {}};
  Platform p = m.platform();
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  char command[] = "C:\\Uninst.exe -a";
  ASSERT_TRUE(p.processes.CreateProcessA(nullptr, command, &si, &pi));
  EXPECT_NE(p.windows.FindWindowExA(nullptr, nullptr, nullptr, "uninstall"), nullptr);
  EXPECT_EQ(p.processes.WaitForInputIdle(pi.hProcess, 1000), 0u);
  EXPECT_EQ(m.machine.now, 0u) << "a program that is idle at once is not waited for";
  DWORD code = 0;
  int polls = 0;
  do {
    p.processes.WaitForSingleObject(pi.hProcess, 300);
    ASSERT_TRUE(p.processes.GetExitCodeProcess(pi.hProcess, &code));
    ++polls;
  } while (code == STILL_ACTIVE && polls < 1000);
  EXPECT_EQ(polls, 4);
  EXPECT_EQ(code, 3u);
  EXPECT_EQ(m.machine.now, 1000u);
  EXPECT_EQ(p.windows.FindWindowExA(nullptr, nullptr, nullptr, "Uninstall"), nullptr);
  EXPECT_TRUE(p.processes.CloseHandle(pi.hProcess));
  EXPECT_TRUE(p.processes.CloseHandle(pi.hThread));
  EXPECT_EQ(m.sim.processes().openHandles(), 0u);
}

TEST(SimProcesses, WaitingForInputIdleWaitsUntilTheProgramIsReadyAndFailsForAConsoleProgram) {
  SimMachine m;
  m.program("C:\\Slow.exe");
  m.program("C:\\Tool.exe");
  m.machine.programs["C:\\SLOW.EXE"] = sim::ProgramBehaviour{5000, 700, 0, {}, {}};
  sim::ProgramBehaviour console{100, 0, 0, {}, {}};
  console.console = true;
  m.machine.programs["C:\\TOOL.EXE"] = console;
  Platform p = m.platform();
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION slow{}, tool{};
  char slowCommand[] = "C:\\Slow.exe";
  char toolCommand[] = "C:\\Tool.exe";
  ASSERT_TRUE(p.processes.CreateProcessA(nullptr, slowCommand, &si, &slow));
  EXPECT_EQ(p.processes.WaitForInputIdle(slow.hProcess, 500), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(m.machine.now, 500u);
  EXPECT_EQ(p.processes.WaitForInputIdle(slow.hProcess, 500), 0u);
  EXPECT_EQ(m.machine.now, 700u);
  ASSERT_TRUE(p.processes.CreateProcessA(nullptr, toolCommand, &si, &tool));
  p.system.SetLastError(0);
  EXPECT_EQ(p.processes.WaitForInputIdle(tool.hProcess, 500), WAIT_FAILED);
  EXPECT_EQ(p.system.GetLastError(), static_cast<DWORD>(ERROR_NOT_GUI_PROCESS));
  EXPECT_EQ(m.machine.now, 700u);
  for (HANDLE h : {slow.hProcess, slow.hThread, tool.hProcess, tool.hThread}) p.processes.CloseHandle(h);
}

TEST(SimRestart, TheNtFamilyRestartsOnlyWithTheShutdownPrivilege) {
  for (const char* os : {"win98se", "win2k"}) {
    SimMachine m(os);
    Platform p = m.platform();
    const bool nt = std::string(os) == "win2k";
    EXPECT_EQ(p.restart.ExitWindowsEx(EWX_REBOOT, 0), nt ? FALSE : TRUE) << os;
    EXPECT_EQ(m.machine.restartRequested, !nt) << os;
    if (nt) {
      EXPECT_EQ(p.system.GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
      m.machine.shutdownPrivilege = true;
      EXPECT_TRUE(p.restart.ExitWindowsEx(EWX_REBOOT, 0));
      EXPECT_TRUE(m.machine.restartRequested);
    }
  }
}

TEST(SimClock, EventsHappenAtTheirVirtualTime) {
  SimMachine m;
  m.machine.addEvent(12000, "mixer", [&] { m.machine.mixerDevices = 1; });
  m.machine.addEvent(3000, "window", [&] {
    m.machine.windows.push_back(sim::Window{"Tarvic", "TVDNINST", false, true});
  });
  Platform p = m.platform();
  p.time.Sleep(2999);
  EXPECT_EQ(p.windows.FindWindowExA(nullptr, nullptr, "TVDNINST", nullptr), nullptr);
  p.time.Sleep(1);
  EXPECT_NE(p.windows.FindWindowExA(nullptr, nullptr, "TVDNINST", nullptr), nullptr);
  EXPECT_EQ(p.devices.mixerGetNumDevs(), 0u);
  p.time.Sleep(20000);
  EXPECT_EQ(p.devices.mixerGetNumDevs(), 1u);
  auto events = m.happenings("event");
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].at, 3000u);
  EXPECT_EQ(events[1].at, 12000u);
}

TEST(SimWindows, MessageBoxesTakeTheScriptsAnswersInOrder) {
  SimMachine m;
  m.machine.script = {{"message", "Cancel", 1}};
  Platform p = m.platform();
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Done", "Setup", MB_OK), IDOK);
  EXPECT_EQ(m.fields("message", "text|buttons|answer"),
            (std::vector<std::string>{"Insert the CD | OK, Cancel | Cancel", "Done | OK | OK"}));
}

TEST(SimWindows, APromptThatComesBackGetsTheAnswerForItAndARunThatRepeatsItselfStops) {
  SimMachine m;
  m.machine.answerAgain = "Cancel";
  m.machine.faults.maxRepeats = 3;
  Platform p = m.platform();
  // A person presses OK once, and Cancel when the same prompt comes back; a box of another text,
  // or one without Cancel, is no prompt that came back.
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDOK);
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Done", "Setup", MB_OK), IDOK);
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Done", "Setup", MB_OK), IDOK);
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDOK);
  // The third time the same box comes back in a row, the run is taken for hung.
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(p.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDCANCEL);
  try {
    p.windows.MessageBoxA(nullptr, "Insert the CD\n Now.", "Setup", MB_OKCANCEL);
    p.windows.MessageBoxA(nullptr, "Insert the CD\n Now.", "Setup", MB_OKCANCEL);
    p.windows.MessageBoxA(nullptr, "Insert the CD\n Now.", "Setup", MB_OKCANCEL);
    p.windows.MessageBoxA(nullptr, "Insert the CD\n Now.", "Setup", MB_OKCANCEL);
    ADD_FAILURE() << "the fourth box in a row was shown";
  } catch (const sim::RunBoundExceeded& e) {
    EXPECT_EQ(e.what, "the same prompt came back 3 times (\"Insert the CD\")");
  }
  // A script's own answer comes first.
  SimMachine scripted;
  scripted.machine.answerAgain = "Cancel";
  scripted.machine.script = {{"message", "OK", 1}, {"message", "OK", 2}};
  Platform q = scripted.platform();
  EXPECT_EQ(q.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDOK);
  EXPECT_EQ(q.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDOK);
  EXPECT_EQ(q.windows.MessageBoxA(nullptr, "Insert the CD", "Setup", MB_OKCANCEL), IDCANCEL);
}

struct MachineFolderTest : ::testing::Test, test::MachineFolder {
  void SetUp() override { fs::create_directories(dir / "drives" / "D"); }
  std::string loadError() {
    sim::Machine machine;
    try {
      load(machine);
    } catch (const sim::MachineError& e) {
      return e.what();
    }
    return "";
  }
  // Loads the machine of a machine.ini that holds `ini`.
  void loadIni(sim::Machine& machine, const std::string& ini) {
    write("machine.ini", ini);
    load(machine);
  }
};

TEST_F(MachineFolderTest, FaultsNameTheFileAndTheLine) {
  EXPECT_EQ(loadError(), "machine.ini: missing");
  write("machine.ini", "[Machine]\nos=win98se\nwindows C:\\WINDOWS\n");
  EXPECT_EQ(loadError(), "machine.ini line 3: expected key=value, found \"windows C:\\WINDOWS\"");
  write("machine.ini", "[Machine]\nos=win31\n");
  EXPECT_EQ(loadError().rfind("machine.ini line 2: unknown os \"win31\"", 0), 0u);
  write("machine.ini", "[Machine]\nos=winme\n\n[Devices]\ndevice=X; colour=red\n");
  EXPECT_EQ(loadError().rfind("machine.ini line 5: unknown device attribute \"colour\"", 0), 0u);
  write("machine.ini", "[Machine]\nos=winme\n");
  write("registry.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\nbroken\n");
  EXPECT_EQ(loadError(), "registry.reg line 3: expected a quoted value name or @");
  fs::remove(dir / "registry.reg");
  write("machine.ini", std::string("[Machine]\nos=winme\n[Drives]\nC=..\0/x\n", 33));
  EXPECT_EQ(loadError(), "machine.ini line 4: a NUL byte in the line");
  write("machine.ini", "[Machine]\nos=winme\nmixers=99999999999999999999\n");
  EXPECT_EQ(loadError().rfind("machine.ini line 3: expected a number of at most nine digits", 0), 0u);
  write("machine.ini", "[Machine]\nos=winme\n[Script]\nclick=-\n");
  EXPECT_EQ(loadError().rfind("machine.ini line 4: click names a control by its number", 0), 0u);
  write("machine.ini", "[Machine]\nos=winme\n[Script]\nagain=Later\n");
  EXPECT_EQ(loadError(), "machine.ini line 4: again answers OK, Cancel, Yes or No, found \"Later\"");
}

TEST_F(MachineFolderTest, AgainIsHowThePersonMeetsAPromptThatComesBackNotAStep) {
  sim::Machine machine;
  loadIni(machine, "[Machine]\nos=winme\n[Script]\nclick=1; dialog=102\nagain=Cancel\nmessage=OK\n");
  EXPECT_EQ(machine.answerAgain, "Cancel");
  ASSERT_EQ(machine.script.size(), 2u);
  EXPECT_EQ(machine.script[1].kind, "message");
}

// What GetVersionExA reports on a machine whose version=, platform= and csd= follow its os=.
struct Reported {
  DWORD platform, major, minor, build;
  std::string csd;
};

Reported reported(sim::Machine& machine) {
  sim::SimPlatform sim(machine);
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  EXPECT_TRUE(sim.platform().system.GetVersionExA(&info));
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.szCSDVersion};
}

TEST_F(MachineFolderTest, VersionKeysAfterOsSetWhatGetVersionExAReports) {
  // The 95 family keeps the version in the high word of the build number.
  sim::Machine se;
  loadIni(se, "[Machine]\nos=win98se\nversion=4.10.2047\n");
  Reported r = reported(se);
  EXPECT_EQ(r.platform, VER_PLATFORM_WIN32_WINDOWS);
  EXPECT_EQ(r.major, 4u);
  EXPECT_EQ(r.minor, 10u);
  EXPECT_EQ(r.build, 0x040A07FFu);
  EXPECT_EQ(r.csd, " A ") << "the named Windows' own";
  EXPECT_EQ(se.os.describe(), "win98se reporting 4.10.2047 on platform 1");

  // NT reports the build alone; a platform given later moves the version out of the build.
  sim::Machine nt;
  loadIni(nt, "[Machine]\nos=win95\nversion=5.0.2195\nplatform=nt\ncsd=\"  Service Pack 4 \"\n");
  r = reported(nt);
  EXPECT_EQ(r.platform, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(r.major, 5u);
  EXPECT_EQ(r.build, 2195u);
  EXPECT_EQ(r.csd, "  Service Pack 4 ");
  EXPECT_TRUE(nt.os.isWindows9x()) << "the rest of the machine stays the Windows os= names";
  EXPECT_EQ(nt.systemDir, "C:\\WINDOWS\\SYSTEM");

  // os= given after the others sets everything again.
  sim::Machine named;
  loadIni(named, "[Machine]\nplatform=0\nversion=4.90.3000\nos=nt40\n");
  r = reported(named);
  EXPECT_EQ(r.platform, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(r.build, 1381u);
  EXPECT_EQ(named.os.describe(), "nt40");

  sim::Machine win32s;
  loadIni(win32s, "[Machine]\nos=win95\nplatform=win32s\n");
  EXPECT_EQ(reported(win32s).platform, VER_PLATFORM_WIN32s);
  EXPECT_EQ(reported(win32s).build, 950u);

  for (const char* bad : {"version=4", "version=4.10.2222.1", "version=4.256.0", "version=4.10.65536", "version=4.x.1",
                          "platform=3", "platform=dos"}) {
    write("machine.ini", std::string("[Machine]\nos=win98\n") + bad + "\n");
    EXPECT_EQ(loadError().rfind("machine.ini line 3: ", 0), 0u) << bad << ": " << loadError();
  }
}

TEST_F(MachineFolderTest, Windows95LacksTheSetupApiAndTheConfigurationManagerUnlessTheMachineGivesThemBack) {
  const std::pair<const char*, std::set<std::string, sim::ILess>> cases[] = {
      {"os=win95", {"setupapi.dll", "cfgmgr32.dll"}}, {"setupapi=1\nos=win95", {"cfgmgr32.dll"}},
      {"os=win95\ncfgmgr32=1\nsetupapi=1", {}},       {"os=win98", {}},
      {"os=winme\nsetupapi=0", {"setupapi.dll"}},
  };
  for (const auto& [keys, missing] : cases) {
    sim::Machine machine;
    loadIni(machine, std::string("[Machine]\n") + keys + "\n");
    EXPECT_EQ(machine.missingDlls, missing) << keys;
  }
  write("machine.ini", "[Machine]\nos=win95\nsetupapi=yes\n");
  EXPECT_EQ(loadError().rfind("machine.ini line 3: setupapi is 1", 0), 0u) << loadError();
}

TEST_F(MachineFolderTest, SavedMachineLoadsBackWithItsState) {
  write("machine.ini",
        "[Machine]\nos=win98se\nprogram=D:\\Driver CD\\SETUP.EXE\nargs=/AP\n\n[Devices]\n"
        "device=PCI\\VEN_1D0C&DEV_0111\\1; ids=PCI\\VEN_1D0C&DEV_0111&SUBSYS_1, PCI\\VEN_1D0C&DEV_0111\n"
        "\n[Windows]\nwindow=SoundDeck; class=SDK; close=refuses\n");
  write("registry.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Tarvic]\n\"v\"=\"1\"\n");
  write("drives/D/Driver CD/setup.ini", "[InstallOption]\n");
  sim::Machine machine;
  load(machine);
  EXPECT_EQ(machine.commandLine, "\"D:\\Driver CD\\SETUP.EXE\" /AP");
  EXPECT_EQ(machine.currentDir.str(), "D:\\Driver CD");
  EXPECT_EQ(machine.systemDir, "C:\\WINDOWS\\SYSTEM");
  ASSERT_EQ(machine.devices.size(), 1u);
  EXPECT_EQ(machine.devices[0].hardwareIds.size(), 2u);
  machine.devices[0].present = false;
  machine.files.find(*sim::parseAbsolutePath("D:\\Driver CD\\setup.ini"))->attributes = FILE_ATTRIBUTE_READONLY;
  fs::path out = dir / "out";
  sim::saveMachine(machine, dir, out);
  sim::Machine again;
  sim::loadMachine(again, out);
  EXPECT_FALSE(again.devices[0].present);
  EXPECT_EQ(again.files.find(*sim::parseAbsolutePath("D:\\Driver CD\\setup.ini"))->attributes, FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(again.windows.size(), 1u);
  EXPECT_TRUE(again.windows[0].refusesClose);
  EXPECT_NE(again.registry.find(again.registry.rootByName("HKLM"), "Software\\Tarvic"), nullptr);
}

}  // namespace
}  // namespace tvx
