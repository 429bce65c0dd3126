#include <gtest/gtest.h>

#include <cstring>

#include "DriverCd.h"
#include "src/install/InfOptions.h"

namespace tvx {
namespace {

using test::DriverCd;
using test::joined;
using test::kJack;
using test::kLegacy;

// The text with its line ends spelled as given ("\n" or "\r\n"), patched by `patch` in place.
template <typename Patch>
std::string patched(const std::string& text, Patch patch) {
  DriverCd m;
  m.file("C:\\T.INF", text);
  Platform p = m.platform();
  FileStream* inf = p.streams.fopen("C:\\T.INF", "r+b");
  EXPECT_NE(inf, nullptr);
  patch(p, inf);
  p.streams.fclose(inf);
  return m.content("C:\\T.INF");
}

// The text after one call of `patcher` (PatchInfOptionLine or PatchWdmOptionLine), which must
// give `answer`.
using Patcher = OptionLinePatch (*)(const Platform&, FileStream*, const char*, char, DWORD);
std::string patchedOnce(const std::string& text, Patcher patcher, const char* line, char digit,
                        OptionLinePatch answer = OptionLinePatch::Written, DWORD waitMs = 0) {
  return patched(text, [&](const Platform& p, FileStream* f) {
    EXPECT_EQ(patcher(p, f, line, digit, waitMs), answer) << line << " in " << text;
  });
}

TEST(PatchInfOptionLine, TheLastDigitOfTheFirstEqualLineWhateverTheLineEnds) {
  for (const char* end : {"\r\n", "\n"}) {
    const std::string before =
        joined({"[Add]", "HKR,Config,DISMPU,1,0 ", "HKR,Config,DISMPU,1,0", "HKR,Config,DISMPU,1,0"}, end);
    const std::string after =
        joined({"[Add]", "HKR,Config,DISMPU,1,0 ", "HKR,Config,DISMPU,1,1", "HKR,Config,DISMPU,1,0"}, end);
    EXPECT_EQ(patchedOnce(before, PatchInfOptionLine, "HKR,Config,DISMPU,1,0", '1'), after)
        << "line end " << std::strlen(end);
  }
  // Mixed line ends: the byte changed is the digit of the matching line, nothing moves.
  const std::string mixed = "a\nHKR,Config,MICasBASS,1,0\r\nb\r\nHKR,Config,LINEINasREAR,1,1\nc";
  EXPECT_EQ(patched(mixed,
                    [](const Platform& p, FileStream* f) {
                      PatchInfOptionLine(p, f, "HKR,Config,MICasBASS,1,0", '1', 0);
                      p.streams.fseek(f, 0, kSeekSet);
                      PatchInfOptionLine(p, f, "HKR,Config,LINEINasREAR,1,1", '0', 0);
                    }),
            "a\nHKR,Config,MICasBASS,1,1\r\nb\r\nHKR,Config,LINEINasREAR,1,0\nc");
}

TEST(PatchInfOptionLine, LinesThatAreNotExactlyTheOptionStay) {
  for (const std::string& text : {std::string("HKR,Config,DISJSTK,1,0 \r\nx\r\n"),  // a trailing blank
                                  std::string("x\r\nHKR,Config,DISJSTK,1,"),        // the last line, a digit short
                                  std::string("hkr,config,disjstk,1,0\r\n"),        // another case
                                  std::string("; HKR,Config,DISJSTK,1,0\r\n")}) {
    EXPECT_EQ(patchedOnce(text, PatchInfOptionLine, "HKR,Config,DISJSTK,1,0", '1', OptionLinePatch::NotFound, 100),
              text);
  }
}

TEST(OptionLinePatchers, TheOptionAsTheLastLineWithoutALineEndIsPatchedAndNothingElseChanges) {
  for (const char* end : {"\r\n", "\n"}) {
    const std::string head = joined({"[Add]", "HKR,Config,DISMPU,1,0"}, end);
    EXPECT_EQ(patchedOnce(head + "HKR,Config,MICasBASS,1,0", PatchInfOptionLine, "HKR,Config,MICasBASS,1,0", '1'),
              head + "HKR,Config,MICasBASS,1,1")
        << "line end " << std::strlen(end);
    const std::string wdmHead = joined({"[Settings.AddReg]", kLegacy}, end);
    EXPECT_EQ(patchedOnce(wdmHead + kJack, PatchWdmOptionLine, kJack, '1'),
              wdmHead + "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x01,0,0,0")
        << "line end " << std::strlen(end);
  }
  // The whole file is the option line.
  EXPECT_EQ(patchedOnce("HKR,Config,DISJSTK,1,0", PatchInfOptionLine, "HKR,Config,DISJSTK,1,0", '1',
                        OptionLinePatch::Written, 100),
            "HKR,Config,DISJSTK,1,1");
}

TEST(PatchWdmOptionLine, CharacterFortyEightOfTheFirstLineThatBeginsWithTheOption) {
  for (const char* end : {"\r\n", "\n"}) {
    const std::string before =
        joined({"[Settings.AddReg]", std::string(kLegacy) + " ; more text", kLegacy, kJack}, end);
    const std::string result = patched(before, [](const Platform& p, FileStream* f) {
      EXPECT_EQ(PatchWdmOptionLine(p, f, kLegacy, '2', 0), OptionLinePatch::Written);
      EXPECT_EQ(PatchWdmOptionLine(p, f, kJack, '4', 0), OptionLinePatch::Written);
    });
    const std::string expected =
        joined({"[Settings.AddReg]", "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x02,0,0,0 ; more text", kLegacy,
                "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x04,0,0,0"},
               end);
    EXPECT_EQ(result, expected) << "line end " << std::strlen(end);
  }
  // One blank more or less before the type is another line.
  const std::string spaced =
      "HKR,\"Settings\",\"JackConfig\",     0x00010001,0x05,0,0,0\r\n"
      "HKR,\"Settings\",\"JackConfig\",       0x00010001,0x05,0,0,0\r\n";
  EXPECT_EQ(patchedOnce(spaced, PatchWdmOptionLine, kJack, '0', OptionLinePatch::NotFound), spaced);
}

TEST(PatchWdmOptionLine, APieceOfALongLineIsNoLine) {
  const std::string text = std::string(1023, 'x') + kJack + "\r\n" + kJack + "\n";
  std::string expected = text;
  expected[1023 + 55 + 2 + 48] = '0';
  EXPECT_EQ(patchedOnce(text, PatchWdmOptionLine, kJack, '0'), expected);
}

TEST(OptionLinePatchers, ALineHoldingANulByteIsOneLineAndTheNextIsStillFound) {
  const std::string nul("; note\0 from the vendor", 24);
  for (const char* end : {"\r\n", "\n"}) {
    const std::string vxd = joined({"[Add]", nul, "HKR,Config,DISMPU,1,0"}, end);
    EXPECT_EQ(patchedOnce(vxd, PatchInfOptionLine, "HKR,Config,DISMPU,1,0", '1'),
              joined({"[Add]", nul, "HKR,Config,DISMPU,1,1"}, end))
        << "line end " << std::strlen(end);
    const std::string wdm = joined({nul, kLegacy}, end);
    std::string expected = wdm;
    expected[expected.size() - std::strlen(end) - 55 + 48] = '2';
    EXPECT_EQ(patchedOnce(wdm, PatchWdmOptionLine, kLegacy, '2'), expected) << "line end " << std::strlen(end);
  }
}

// The download of the VxD package with its options dialog.
struct VxdDownload : DriverCd {
  explicit VxdDownload(const char* os) : DriverCd(os) {
    file("C:\\DL\\TVAUDIO.INF",
         "[SourceDisksNames]\r\n1=\"Tarvic Driver Disk\",,,\r\n[SourceDisksFiles]\r\nTVAUDIO.VXD=1\r\n"
         "[Add]\r\nHKR,Config,DISMPU,1,0\r\n"
         "HKR,Config,DISJSTK,1,0\r\nHKR,Config,LINEINasREAR,1,1\r\nHKR,Config,LINEINasBASS,1,0\r\n"
         "HKR,Config,MICasBASS,1,0\r\n");
    file("C:\\DL\\PLAIN.INF", "[Version]\r\n");
    file("C:\\DL\\Readme.Inf", "not an INF by its name");
    file("C:\\DL\\Mixer.exe", "MZ new mixer");
    file("C:\\DL\\026\\BANK.DAT", "bank");
    file("C:\\WINDOWS\\SYSTEM\\SMPDATA.DAT", "samples");
    file("C:\\WINDOWS\\SYSTEM\\SMPINDEX.DAT", "index");
    machine.files.makeDirectories(*sim::parseAbsolutePath("C:\\WINDOWS\\INF\\OTHER"));
    inputs.sourceDir = "C:\\DL\\";
  }
  bool run() {
    return endsProcess([&] { InstallVxdWithOptions(inputs, platform(), sim.windows().addOwnWindow("VxD options")); });
  }
  VxdInstallInputs inputs;
};

TEST(InstallVxdWithOptions, TheOptionsReachTheInfCopiesWithTheirSourceDisk) {
  VxdDownload m("win98se");
  m.inputs.options.midiPortDisabled = true;
  m.inputs.options.lineInAsRear = 0;
  m.inputs.options.micAsBass = 1;
  m.file("C:\\WINDOWS\\INF\\OTHER\\PLAIN.INF", "old, read-only");
  m.platform().files.SetFileAttributesA("C:\\WINDOWS\\INF\\OTHER\\PLAIN.INF", FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(m.run());
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF"),
            "[SourceDisksNames]\r\n1=\"Tarvic Driver Disk\",,,, C:\\Program Files\\Tarvic\\W95-98\r\n"
            "[SourceDisksFiles]\r\nTVAUDIO.VXD=1\r\n[Add]\r\n"
            "HKR,Config,DISMPU,1,1\r\nHKR,Config,DISJSTK,1,0\r\nHKR,Config,LINEINasREAR,1,0\r\n"
            "HKR,Config,LINEINasBASS,1,0\r\nHKR,Config,MICasBASS,1,1\r\n");
  EXPECT_EQ(m.content("C:\\WINDOWS\\INF\\OTHER\\PLAIN.INF"),
            "[Version]\r\n[SourceDisksNames]\r\n1=, C:\\Program Files\\Tarvic\\W95-98\r\n")
      << "a missing disk entry is still written";
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\INF\\OTHER\\Readme.Inf"));
  EXPECT_EQ(m.content("C:\\Program Files\\Tarvic\\W95-98\\Readme.Inf"), "not an INF by its name");
  EXPECT_EQ(m.content("C:\\Program Files\\Tarvic\\W95-98\\026\\BANK.DAT"), "bank");
  EXPECT_EQ(m.content("C:\\Program Files\\Tarvic\\W95-98\\SMPDATA.DAT"), "samples");
  EXPECT_EQ(m.content("C:\\Program Files\\Tarvic\\W95-98\\SMPINDEX.DAT"), "index");
  EXPECT_EQ(m.machine.currentDir.str(), "C:\\WINDOWS\\INF\\OTHER");
  EXPECT_EQ(m.sleeps(100), 1u) << "only the MIDI line waits; the game port line is not written";
  const std::string copy = "C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF | ";
  EXPECT_EQ(m.fields("patched", "file|line|old|new"),
            (std::vector<std::string>{copy + "6 | HKR,Config,DISMPU,1,0 | HKR,Config,DISMPU,1,1",
                                      copy + "8 | HKR,Config,LINEINasREAR,1,1 | HKR,Config,LINEINasREAR,1,0",
                                      copy + "10 | HKR,Config,MICasBASS,1,0 | HKR,Config,MICasBASS,1,1"}))
      << "the report names each option line changed";
  EXPECT_EQ(m.fields("message", "text|owner"),
            std::vector<std::string>{"Setup completed! The system will restart now! | VxD options"});
  EXPECT_TRUE(m.machine.restartRequested);
  EXPECT_EQ(m.sim.streams().openStreams(), 0u);
}

TEST(InstallVxdWithOptions, EveryOptionLineIsFoundWhateverTheOrderOfTheLinesInTheInf) {
  // Each line is looked for from the start of the file: an INF that lists the game port before
  // the MIDI port (and the jack lines before both) gets every chosen option.
  VxdDownload m("win98");
  m.file("C:\\DL\\TVAUDIO.INF",
         "[Add]\r\nHKR,Config,MICasBASS,1,0\r\nHKR,Config,LINEINasBASS,1,0\r\nHKR,Config,LINEINasREAR,1,1\r\n"
         "HKR,Config,DISJSTK,1,0\r\nHKR,Config,DISMPU,1,0\r\n"
         "[SourceDisksNames]\r\n1=\"Tarvic Driver Disk\",,\r\n[SourceDisksFiles]\r\nTVAUDIO.VXD=1\r\n");
  m.inputs.options = VxdInfOptions{true, true, 0, 1, 1};
  EXPECT_TRUE(m.run());
  const std::string inf = m.content("C:\\WINDOWS\\INF\\OTHER\\TVAUDIO.INF");
  EXPECT_EQ(inf.substr(0, inf.find("[SourceDisksNames]")),
            "[Add]\r\nHKR,Config,MICasBASS,1,1\r\nHKR,Config,LINEINasBASS,1,1\r\nHKR,Config,LINEINasREAR,1,0\r\n"
            "HKR,Config,DISJSTK,1,1\r\nHKR,Config,DISMPU,1,1\r\n");
}

TEST(InstallVxdWithOptions, DefaultsKeepTheShippedLinesAndAFullPackageBringsItsOwnSamples) {
  VxdDownload m("win95");
  m.remove("C:\\WINDOWS\\INF\\OTHER");
  m.inputs.fullPackage = 1;
  EXPECT_TRUE(m.run());
  const std::string inf = m.content("C:\\WINDOWS\\INF\\TVAUDIO.INF");
  EXPECT_NE(inf.find("HKR,Config,DISMPU,1,0\r\nHKR,Config,DISJSTK,1,0\r\nHKR,Config,LINEINasREAR,1,1\r\n"
                     "HKR,Config,LINEINasBASS,1,0\r\nHKR,Config,MICasBASS,1,0\r\n"),
            std::string::npos)
      << inf;
  EXPECT_FALSE(m.exists("C:\\Program Files\\Tarvic\\W95-98\\SMPDATA.DAT"));
  EXPECT_EQ(m.sleeps(100), 0u);
}

TEST(InstallVxdWithOptions, TheMixerIsReplacedWhereTheRegistryFindsIt) {
  struct Row {
    const char* keys;
    const char* replaced;  // or empty
  };
  const std::string first = "[HKEY_LOCAL_MACHINE\\Software\\Tarvic Sound Suite\\Mixer]\r\n\"Path\"=\"C:\\\\Suite\"\r\n";
  const std::string second = "[HKEY_LOCAL_MACHINE\\Software\\Tarvic\\Mixer]\r\n\"Path\"=\"C:\\\\Old\\\\\"\r\n";
  for (const Row& r : {Row{"first", "C:\\Suite\\Mixer.exe"}, Row{"second", "C:\\Old\\Mixer.exe"},
                       Row{"both, first without its file", "C:\\Old\\Mixer.exe"}, Row{"none", ""}}) {
    VxdDownload m("winme");
    const std::string keys = r.keys;
    if (keys == "first" || keys.rfind("both", 0) == 0) m.registry(first);
    if (keys != "first" && keys != "none") m.registry(second);
    if (keys == "first") m.file("C:\\Suite\\Mixer.exe", "MZ old mixer");
    m.file("C:\\Old\\Mixer.exe", "MZ old mixer");
    m.file("C:\\WINDOWS\\Mixer.exe", "MZ old mixer");
    EXPECT_TRUE(m.run()) << keys;
    if (*r.replaced != '\0') {
      EXPECT_EQ(m.content(r.replaced), "MZ new mixer") << keys;
      EXPECT_EQ(m.content("C:\\WINDOWS\\Mixer.exe"), "MZ new mixer") << keys;
    } else {
      EXPECT_EQ(m.content("C:\\WINDOWS\\Mixer.exe"), "MZ old mixer") << keys;
    }
    EXPECT_EQ(m.content("C:\\WINDOWS\\WININIT.INI").find("Mixer"), std::string::npos) << keys << ": nothing queued";
  }
}

TEST(InstallVxdWithOptions, WindowsNtIsRefusedAfterTheSuiteWasClosed) {
  for (const char* os : {"nt40", "win2k", "winxp"}) {
    VxdDownload m(os);
    m.machine.windows = {{"SoundDeck", "", false, true}};
    EXPECT_TRUE(m.run()) << os;
    EXPECT_EQ(m.fields("message", "text|caption"),
              std::vector<std::string>{"This driver can not be used on Windows NT or Windows 2000. | Information"})
        << os;
    EXPECT_EQ(m.happenings("close").size(), 1u) << os;
    EXPECT_TRUE(m.happenings("copy").empty()) << os;
    EXPECT_FALSE(m.machine.restartRequested) << os;
  }
}

}  // namespace
}  // namespace tvx
