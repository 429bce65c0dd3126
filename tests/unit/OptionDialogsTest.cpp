// The two driver option dialogs of the download, run by the start-up on a simulated machine: the
// person's clicks from the script, then Install, Cancel or the window's close box.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "DriverCd.h"
#include "tools/tvxsim/SimRun.h"

namespace tvx {
namespace {

const char* kVxdTitle = "PCI Audio Device Driver Setup Program for Windows 95/98/ME";
const char* kWdmTitle = "PCI Audio Device Driver Setup Program for Windows 98SE/ME";
const char* kVxdLines[] = {"HKR,Config,DISMPU,1,0", "HKR,Config,DISJSTK,1,0", "HKR,Config,LINEINasREAR,1,1",
                           "HKR,Config,LINEINasBASS,1,0", "HKR,Config,MICasBASS,1,0"};

using test::joined;
using test::kAnnouncement;
using test::kJack;
using test::kLegacy;

// The steps of a row, to name it.
std::string spaced(const std::vector<std::string>& steps) {
  std::string out;
  for (const auto& s : steps) out += s + " ";
  return out;
}

// The download in D:\ with its setup.ini asking for an option dialog, an earlier driver's key in
// the registry, and the tray's volume icon on.
struct Download : test::SimMachine {
  Download(const char* os, bool wdm, const std::string& moreOptions = "") : SimMachine(os) {
    machine.commandLine = machine.modulePath = "D:\\SETUP.EXE";
    machine.currentDir = *sim::parseAbsolutePath("D:\\");
    file("D:\\SETUP.EXE", "MZ setup");
    file("D:\\setup.ini",
         std::string("[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=") + (wdm ? "1" : "0") + "\r\n" + moreOptions);
    file("C:\\WINDOWS\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\WINDOWS\\INF"));
    registry(
        "[HKEY_LOCAL_MACHINE\\Software\\Tarvic\\TVX4400]\r\n\"Version\"=\"1.0\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n"
        "\"Services\"=dword:00000007\r\n");
  }
  // The person's steps in the dialog, in order: control numbers are clicks, "close" and
  // "minimize" are themselves, other names are keys.
  void steps(const std::vector<std::string>& each) {
    for (const auto& s : each) {
      const bool click = s.find_first_not_of("0123456789") == std::string::npos;
      const bool itself = s == "close" || s == "minimize";
      machine.script.push_back(sim::ScriptStep{click ? "click" : itself ? s : "key", itself ? "" : s, 0, 0, {}});
    }
  }
  sim::RunReport run() { return sim::runSetup(machine, "download"); }

  // Each numbered control's check and enable state at the end: as the dialog showed it, then
  // changed by what the person did.
  std::map<int, std::string> finalStates() const {
    std::map<int, std::string> states;
    const std::regex shown(R"((\d+) "[^"]*"((?: [a-z]+)*))");
    const std::string controls = happenings("dialog").at(0).field("controls");
    for (std::sregex_iterator it(controls.begin(), controls.end(), shown), end; it != end; ++it) {
      const std::string words = (*it)[2];
      std::string state = words.find(" checked") != std::string::npos ? "checked" : "unchecked";
      if (words.find("disabled") != std::string::npos) state += " disabled";
      states[std::stoi((*it)[1])] = state;
    }
    for (const auto& h : happenings("control")) {
      std::string& state = states[std::stoi(h.field("control"))];
      const std::string change = h.field("state");
      const bool disabled = state.find(" disabled") != std::string::npos;
      if (change == "checked" || change == "unchecked") state = change + (disabled ? " disabled" : "");
      if (change == "disabled" && !disabled) state += " disabled";
      if (change == "enabled" && disabled) state.erase(state.find(" disabled"));
    }
    return states;
  }
};

struct VxdDownload : Download {
  explicit VxdDownload(const char* os = "win98", const std::string& moreOptions = "")
      : Download(os, false, moreOptions) {
    file("D:\\TVAUDIO.INF",
         "[SourceDisksNames]\r\n1=\"Tarvic Driver "
         "Disk\",,,\r\n[SourceDisksFiles]\r\nTVAUDIO.VXD=1\r\n[TVX4400.AddReg]\r\n" +
             joined({kVxdLines[0], kVxdLines[1], kVxdLines[2], kVxdLines[3], kVxdLines[4]}, "\r\n"));
    file("D:\\TVAUDIO.VXD", "MZ vxd");
    file("D:\\026\\BANK026.DAT", "bank");
    file("C:\\WINDOWS\\SYSTEM\\SMPDATA.DAT", "samples");
    file("C:\\WINDOWS\\SYSTEM\\SMPINDEX.DAT", "index");
  }
};

// The WDM package: one INF with CR LF line ends, one with bare LF and one with both, and a file
// whose name is not an INF's by the program's rule.
struct WdmDownload : Download {
  explicit WdmDownload(const char* os = "winme") : Download(os, true) {
    file("D:\\TVAUDIO.INF", crlf);
    file("D:\\TVLF.INF", lf);
    file("D:\\TVMIX.INF", mixed);
    file("D:\\Readme.Inf", joined({kLegacy, kJack}, "\r\n"));
    file("D:\\tvaudio.sys", "MZ wdm");
  }
  const std::string crlf =
      joined({"[SourceDisksNames]", "200=\"Tarvic WDM Audio Driver Disk\",,,\\W2K-ME\\drv", "[SourceDisksFiles]",
              "tvaudio.sys=200", "[TVX4400.AddReg]", kLegacy, kJack, "[Strings]"},
             "\r\n");
  const std::string lf = joined({"[TVX4400.AddReg]", "HKR,,DriverDesc,,%TVX4400.DeviceDesc%", kLegacy, kJack}, "\n");
  const std::string mixed = std::string("; mixed line ends\n[TVX4400.AddReg]\r\n") + kJack + "\n" + kLegacy + "\r\n";
};

// `text` with the value digits of its option lines (character 48) as given.
std::string withWdmValues(std::string text, char legacy, char jack) {
  for (const auto& [line, digit] : {std::pair<std::string, char>{kLegacy, legacy}, {kJack, jack}}) {
    text[text.find(line) + 48] = digit;
  }
  return text;
}

TEST(OptionDialogs, BothDialogsKeepTheJackChoiceConsistentAsThePersonClicks) {
  struct Row {
    std::vector<std::string> clicks;
    std::string expected;  // 1006, 1007, 1011, 1012, 1013
  };
  const std::string enabled = "checked|unchecked|checked|unchecked|unchecked";
  const std::vector<Row> rows = {
      {{}, enabled},
      {{"1006", "1011"}, enabled},
      {{"1013"}, "checked|unchecked|checked|unchecked|checked"},
      {{"1013", "1013"}, "checked|unchecked|checked|unchecked|checked"},
      {{"1012"}, "checked|unchecked|unchecked|checked|unchecked"},
      {{"1013", "1012"}, "checked|unchecked|unchecked|checked|unchecked"},
      {{"1012", "1011"}, "checked|unchecked|checked|unchecked|unchecked"},
      {{"1012", "1013"}, "checked|unchecked|unchecked|unchecked|checked"},
      {{"1013", "1007"}, "unchecked|checked|checked disabled|unchecked disabled|checked disabled"},
      {{"1013", "1007", "1012", "1007"}, "unchecked|checked|checked disabled|unchecked disabled|checked disabled"},
      {{"1013", "1007", "1006"}, "checked|unchecked|checked|unchecked|checked"},
      {{"1012", "1007", "1006", "1011"}, "checked|unchecked|checked|unchecked|unchecked"},
  };
  for (const bool wdm : {false, true}) {
    for (const Row& r : rows) {
      Download m("win98se", wdm);
      m.steps(r.clicks);
      m.steps({"2"});
      m.run();
      auto states = m.finalStates();
      const std::string got =
          states[1006] + "|" + states[1007] + "|" + states[1011] + "|" + states[1012] + "|" + states[1013];
      EXPECT_EQ(got, r.expected) << (wdm ? "WDM" : "VxD") << " dialog, clicks " << spaced(r.clicks);
      EXPECT_EQ(states[1000], "unchecked");
    }
  }
}

TEST(VxdOptionsDialog, TheInfOptionLinesFollowTheBoxesAtInstall) {
  struct Row {
    std::vector<std::string> steps;
    std::string endings;  // the last digits of DISMPU, DISJSTK, LINEINasREAR, LINEINasBASS, MICasBASS
  };
  for (const Row& r : {Row{{}, "00100"}, Row{{"1000", "1001"}, "11100"}, Row{{"1000", "1001", "1007"}, "11000"},
                       Row{{"1001", "1001"}, "00100"}, Row{{"1012"}, "00010"}, Row{{"1011", "1013"}, "00101"},
                       Row{{"1013", "1007"}, "00000"}, Row{{"1012", "1007"}, "00000"},
                       Row{{"1013", "1007", "1006"}, "00101"}, Row{{"Tab", "Tab", "Space"}, "10100"}}) {
    VxdDownload m;
    m.steps(r.steps);
    m.steps({"Return"});
    const sim::RunReport report = m.run();
    std::string endings;
    const std::string inf = m.content("C:\\WINDOWS\\INF\\TVAUDIO.INF");
    const std::regex option(R"((?:^|\n)HKR,Config,\w+,1,(\d)(?=\r?\n|$))");
    for (std::sregex_iterator it(inf.begin(), inf.end(), option), end; it != end; ++it) endings += (*it)[1];
    const std::string steps = spaced(r.steps);
    EXPECT_EQ(endings, r.endings) << steps;
    const std::string shipped = "00100";
    std::size_t changed = 0;
    for (std::size_t i = 0; i < shipped.size(); ++i) changed += r.endings[i] != shipped[i] ? 1 : 0;
    EXPECT_EQ(m.happenings("patched").size(), changed) << steps << ": only the lines that differ are written";
    EXPECT_EQ(m.fields("message", "text"), std::vector<std::string>{"Setup completed! The system will restart now!"})
        << steps;
    EXPECT_TRUE(report.restart) << steps;
  }
}

TEST(VxdOptionsDialog, FullPackageOfSetupIniDecidesWhetherTheSamplesComeFromTheSystemFolder) {
  struct Row {
    const char* line;
    bool samples;
  };
  for (const Row& r : {Row{"", true}, Row{"FullPackage=0\r\n", true}, Row{"FullPackage=1\r\n", false},
                       Row{"FullPackage=7\r\n", false}, Row{"FullPackage=yes\r\n", true}}) {
    VxdDownload m("win95", r.line);
    m.steps({"Return"});
    m.run();
    EXPECT_EQ(m.exists("C:\\Program Files\\Tarvic\\W95-98\\SMPDATA.DAT"), r.samples) << r.line;
    EXPECT_EQ(m.exists("C:\\Program Files\\Tarvic\\W95-98\\SMPINDEX.DAT"), r.samples) << r.line;
    EXPECT_EQ(m.content("C:\\Program Files\\Tarvic\\W95-98\\026\\BANK026.DAT"), "bank") << r.line;
  }
}

TEST(WdmOptionsDialog, EachStagedInfGetsTheBoxesBeforeItsCopiesReachTheInfFolders) {
  struct Row {
    std::vector<std::string> clicks;
    char legacy;
    char jack;
  };
  for (const Row& r :
       {Row{{}, '3', '1'}, Row{{"1000", "1007"}, '2', '0'}, Row{{"1013"}, '3', '5'}, Row{{"1012"}, '3', '2'},
        Row{{"1012", "1013"}, '3', '4'}, Row{{"1000"}, '2', '1'}, Row{{"1013", "1007", "1006"}, '3', '5'}}) {
    WdmDownload m;
    m.steps(r.clicks);
    m.steps({"1"});
    m.run();
    const std::string clicks = spaced(r.clicks);
    const std::string staged = "C:\\Program Files\\Tarvic\\W2K-ME\\";
    EXPECT_EQ(m.content(staged + "TVAUDIO.INF"), withWdmValues(m.crlf, r.legacy, r.jack)) << clicks;
    EXPECT_EQ(m.content(staged + "TVLF.INF"), withWdmValues(m.lf, r.legacy, r.jack)) << clicks;
    EXPECT_EQ(m.content(staged + "TVMIX.INF"), withWdmValues(m.mixed, r.legacy, r.jack)) << clicks;
    // A copy whose source disk the run leaves alone is the patched file itself.
    EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\TVLF.INF"), withWdmValues(m.lf, r.legacy, r.jack)) << clicks;
    EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\TVMIX.INF"), withWdmValues(m.mixed, r.legacy, r.jack)) << clicks;
    const std::string audio = m.content("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF");
    EXPECT_NE(audio.find(std::string(kJack).replace(48, 1, 1, r.jack)), std::string::npos) << audio;
    EXPECT_EQ(m.content(staged + "Readme.Inf"), joined({kLegacy, kJack}, "\r\n")) << "not an INF by its name";
    EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\Readme.Inf"));
    EXPECT_EQ(m.sleeps(100), r.legacy == '2' ? 3u : 0u) << clicks << ": each legacy line waits before it is written";
  }
}

TEST(OptionDialogs, CancelEscapeAndTheCloseBoxChangeNothing) {
  for (const bool wdm : {false, true}) {
    for (const char* how : {"2", "Escape", "close"}) {
      Download m("winme", wdm);
      m.steps({"minimize", "1000", "1007", how});
      const sim::RunReport report = m.run();
      const auto& log = m.machine.log;
      auto shown = std::find_if(log.begin(), log.end(), [](const sim::Happening& h) { return h.kind == "dialog"; });
      ASSERT_NE(shown, log.end());
      for (auto it = shown + 1; it != log.end(); ++it) {
        EXPECT_TRUE(it->kind == "dialog action" || it->kind == "control" || it->kind == "dialog end" ||
                    it->kind == "exit" || it->kind == "icon drawn")
            << (wdm ? "WDM " : "VxD ") << how << ": " << it->kind;
      }
      EXPECT_EQ(m.happenings("dialog end").at(0).field("result"), "Cancel");
      EXPECT_EQ(m.happenings("icon drawn").size(), wdm ? 0u : 1u) << "only the VxD dialog has an icon of its own";
      ASSERT_EQ(report.files.size(), 1u) << "only the start-up's CD player setting";
      EXPECT_EQ(report.files[0].path, "C:\\WINDOWS\\TVCDPLAY.INI");
      EXPECT_TRUE(report.registry.empty());
      EXPECT_FALSE(report.restart);
    }
  }
}

TEST(OptionDialogs, RefusedSystemsKeepTheEarlierDriver) {
  // The VxD dialog refuses Windows NT before it changes anything: its run leaves what Cancel leaves.
  VxdDownload cancelled("nt40");
  cancelled.steps({"2"});
  const sim::RunReport cancel = cancelled.run();
  VxdDownload nt("nt40");
  nt.machine.windows = {{"SoundDeck", "", false, true}};
  nt.steps({"1000", "Return"});
  const sim::RunReport refused = nt.run();
  EXPECT_EQ(nt.fields("message", "text|caption|owner"),
            std::vector<std::string>{"This driver can not be used on Windows NT or Windows 2000. | Information | " +
                                     std::string(kVxdTitle)});
  EXPECT_EQ(nt.happenings("close").at(0).field("window"), "SoundDeck") << "the suite was closed first";
  ASSERT_EQ(refused.files.size(), cancel.files.size());
  for (std::size_t i = 0; i < cancel.files.size(); ++i) EXPECT_EQ(refused.files[i].path, cancel.files[i].path);
  EXPECT_TRUE(refused.registry.empty());
  EXPECT_FALSE(refused.restart);

  // The WDM dialog refuses every system but 98 SE and Me after the preparation: the tray icon and
  // the mixer settings are reset, the earlier driver and its files stay, nothing is staged.
  for (const char* os : {"win95", "win98", "nt40"}) {
    WdmDownload m(os);
    m.file("C:\\WINDOWS\\INF\\OTHER\\TarvicTVX4400.INF", "[Version]\r\nProvider=%Tarvic%\r\n");
    m.steps({"1000", "Return"});
    const sim::RunReport report = m.run();
    // The refusal's caption is the program's name.
    EXPECT_EQ(m.fields("message", "text|caption|owner"),
              (std::vector<std::string>{
                  std::string(kAnnouncement) + " | Setup | none",
                  "This WDM driver can only be installed on Windows 98SE/ME/2000 | SETUP | " + std::string(kWdmTitle)}))
        << os;
    EXPECT_EQ(m.happenings("hide").at(0).field("window"), kWdmTitle) << os;
    std::vector<std::string> changed;
    for (const auto& f : report.files) changed.push_back(f.what + " " + f.path);
    EXPECT_EQ(changed,
              (std::vector<std::string>{"changed C:\\WINDOWS\\mixerdef.ini", "added C:\\WINDOWS\\TVCDPLAY.INI"}))
        << os;
    ASSERT_EQ(report.registry.size(), 1u) << os;
    EXPECT_NE(report.registry[0].path.find("Systray"), std::string::npos) << os;
    EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, "Software\\Tarvic\\TVX4400")) << os;
    EXPECT_FALSE(report.restart) << os;
  }
}

TEST(OptionDialogs, AProgramPathWithoutAFolderTakesTheRunningModulesFolder) {
  for (const bool wdm : {false, true}) {
    for (const char* started : {"SETUP", "\\SETUP.EXE"}) {
      Download m("winme", wdm);
      m.file("D:\\TVAUDIO.INF", wdm ? test::kWdmInf : test::kVxdInf);
      m.machine.commandLine = started;
      m.machine.currentDir = *sim::parseAbsolutePath("C:\\WINDOWS");
      m.steps({"Return"});
      m.run();
      const std::string installed = wdm ? "C:\\Program Files\\Tarvic\\W2K-ME\\" : "C:\\Program Files\\Tarvic\\W95-98\\";
      EXPECT_EQ(m.content(installed + "TVAUDIO.INF").rfind("[Version]", 0), 0u)
          << (wdm ? "WDM " : "VxD ") << started << ": the package of D:\\, the module's folder";
      EXPECT_EQ(m.content(installed + "SETUP.EXE"), "MZ setup") << started;
    }
  }
}

}  // namespace
}  // namespace tvx
