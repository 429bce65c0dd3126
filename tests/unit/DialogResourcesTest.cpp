// The resources Setup.exe ships, as the headless host reads them from windres' output: every
// language's dialogs match the English ones control for control, and the reader finds what
// Windows would.
#include <gtest/gtest.h>

#include "src/platform/sim/Simulator.h"

namespace tvx::sim {
namespace {

constexpr WORD kEnglish = 0x409;
constexpr WORD kLanguages[] = {0x404, 0x40C, 0x411, 0x412};

DialogTemplate dialog(int id, WORD language) {
  const ResEntry* e = findResource(programResources(), RT_DIALOG_ID, static_cast<WORD>(id), language);
  EXPECT_NE(e, nullptr) << "dialog " << id;
  EXPECT_EQ(e->language, language) << "dialog " << id << " has no template of its own in " << language;
  return parseDialogTemplate(e->data);
}

bool hasNonAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

TEST(DialogResources, EveryLanguageHasTheEnglishControlsIdsKindsAndStyles) {
  for (int id : {102, 130}) {
    const DialogTemplate english = dialog(id, kEnglish);
    for (WORD language : kLanguages) {
      const DialogTemplate other = dialog(id, language);
      SCOPED_TRACE("dialog " + std::to_string(id) + ", language " + std::to_string(language));
      EXPECT_EQ(other.style, english.style);
      EXPECT_EQ(other.exStyle, english.exStyle);
      ASSERT_EQ(other.controls.size(), english.controls.size());
      for (std::size_t i = 0; i < english.controls.size(); ++i) {
        const ControlTemplate& e = english.controls[i];
        const ControlTemplate& o = other.controls[i];
        EXPECT_EQ(o.id, e.id) << "control " << i;
        EXPECT_EQ(kindName(o), kindName(e)) << "control " << e.id;
        EXPECT_EQ(o.style, e.style) << "control " << e.id;
        EXPECT_EQ(o.exStyle, e.exStyle) << "control " << e.id;
        EXPECT_EQ(o.textResource, e.textResource) << "control " << e.id;
      }
      // Texts of the Asian templates came through their code pages, not as question marks.
      if (language != 0x40C) {
        EXPECT_TRUE(hasNonAscii(other.title)) << other.title;
        EXPECT_EQ(other.title.find('?'), std::string::npos) << other.title;
      }
    }
  }
}

// The About box is English only. Where a user language has no template of its own, Windows takes
// the US English one; the headless host, asked for any language, finds that one as well.
TEST(DialogResources, TheAboutBoxIsTheEnglishOneWhateverTheUserLanguage) {
  std::size_t templates = 0;
  for (const auto& e : programResources()) templates += e.type.is(RT_DIALOG_ID) && e.name.is(100) ? 1 : 0;
  EXPECT_EQ(templates, 1u);
  for (WORD language : {WORD{0x404}, WORD{0x40C}, WORD{0x411}, WORD{0x412}, WORD{0x407}, WORD{0xC0C}}) {
    const ResEntry* e = findResource(programResources(), RT_DIALOG_ID, 100, language);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->language, kEnglish) << language;
    const DialogTemplate about = parseDialogTemplate(e->data);
    EXPECT_EQ(about.title, "About Setup") << language;
    EXPECT_EQ(about.controls[1].text, "Setup Version 2.5") << language;
  }
}

TEST(DialogResources, TheTemplatesAreTheOnesTheProgramRelies) {
  const DialogTemplate main = dialog(102, kEnglish);
  EXPECT_EQ(main.title, "PCI Audio Device Driver And Applications Setup Program");
  EXPECT_EQ(main.font, "MS Sans Serif");
  EXPECT_EQ(main.pointSize, 12);
  EXPECT_EQ(main.style & WS_VISIBLE, 0u) << "shown by Windows once initialised";
  EXPECT_NE(main.exStyle & WS_EX_APPWINDOW, 0u);
  std::vector<std::string> kinds;
  for (const auto& c : main.controls) kinds.push_back(std::to_string(c.id) + " " + kindName(c));
  EXPECT_EQ(kinds, (std::vector<std::string>{"-1 static", "-1 group box", "1001 auto check box", "1003 static",
                                             "1002 auto check box", "1 default push button", "2 push button"}));
  EXPECT_NE(main.controls[2].style & WS_TABSTOP, 0u);
  EXPECT_EQ(main.controls[3].text, "Please wait .....");

  const DialogTemplate arch = dialog(130, kEnglish);
  EXPECT_EQ(arch.title, "Windows 98SE/ME device-driver architecture selection");
  EXPECT_NE(arch.style & WS_VISIBLE, 0u);
  EXPECT_EQ(arch.cx, 229);
  EXPECT_EQ(arch.cy, 170);
  for (int i : {3, 4}) {
    const ControlTemplate& radio = arch.controls[i];
    EXPECT_EQ(kindName(radio), "auto radio button");
    EXPECT_EQ(radio.style & (WS_TABSTOP | WS_GROUP), 0u) << "one group, reached by arrow keys";
  }
  EXPECT_EQ(arch.controls[4].text, "Win32 Driver Model (WDM) ");

  const DialogTemplate about = dialog(100, kEnglish);
  EXPECT_FALSE(about.extended);
  EXPECT_EQ(about.title, "About Setup");
  EXPECT_EQ(kindName(about.controls[0]), "icon");
  EXPECT_EQ(about.controls[0].textResource, 128) << "the program icon";
  EXPECT_EQ(about.controls[1].text, "Setup Version 2.5");
}

TEST(DialogResources, TheOptionDialogsAreVisibleAtOnceAndTheirRadioButtonsAreGroupsWithoutTabStops) {
  struct Row {
    int id;
    const char* title;
    int cx, cy;
    std::vector<std::string> controls;  // the numbered ones in tab order
  };
  for (const Row& r :
       {Row{103,
            "PCI Audio Device Driver Setup Program for Windows 95/98/ME",
            212,
            210,
            {"1 default push button", "2 push button", "1000 auto check box", "1001 auto check box",
             "1006 auto radio button", "1007 auto radio button", "1011 auto check box", "1012 auto check box",
             "1013 auto check box"}},
        Row{131,
            "PCI Audio Device Driver Setup Program for Windows 98SE/ME",
            234,
            200,
            {"1 default push button", "2 push button", "1000 auto check box", "1006 auto radio button",
             "1007 auto radio button", "1011 auto check box", "1012 auto check box", "1013 auto check box"}}}) {
    const DialogTemplate d = dialog(r.id, kEnglish);
    SCOPED_TRACE("dialog " + std::to_string(r.id));
    EXPECT_EQ(d.title, r.title);
    EXPECT_EQ(d.cx, r.cx);
    EXPECT_EQ(d.cy, r.cy);
    EXPECT_NE(d.style & WS_VISIBLE, 0u);
    EXPECT_NE(d.exStyle & WS_EX_APPWINDOW, 0u);
    std::vector<std::string> numbered;
    std::string texts;
    for (const auto& c : d.controls) {
      texts += c.text + "|";
      if (c.id == -1) continue;
      numbered.push_back(std::to_string(c.id) + " " + kindName(c));
      if (kindName(c) == "auto radio button") {
        EXPECT_EQ(c.style & (WS_GROUP | WS_TABSTOP), static_cast<DWORD>(WS_GROUP)) << c.id;
      } else {
        EXPECT_NE(c.style & WS_TABSTOP, 0u) << c.id;
      }
    }
    EXPECT_EQ(numbered, r.controls);
    EXPECT_NE(texts.find("|using a  pair of speakers, we suggest you use the default setting.|"), std::string::npos);
    EXPECT_NE(texts.find("|Note: If you are not familiar with the hardware specifications, and are |"),
              std::string::npos);
  }
}

TEST(DialogResources, FrenchAndKoreanLayoutsDifferAsDescribed) {
  const DialogTemplate korean = dialog(130, 0x412);
  EXPECT_EQ(korean.cx, 240);
  EXPECT_EQ(korean.cy, 171);
  EXPECT_EQ(korean.controls[2].cx, 230) << "group box";
  for (WORD language : {WORD{0x40C}, WORD{0x412}}) {
    const DialogTemplate arch = dialog(130, language);
    for (std::size_t i = 6; i < arch.controls.size(); ++i)
      EXPECT_EQ(arch.controls[i].x, 25) << language << " line " << i;
  }
  for (std::size_t i = 6; i < dialog(130, kEnglish).controls.size(); ++i)
    EXPECT_EQ(dialog(130, kEnglish).controls[i].x, 35);
}

TEST(DialogResources, StringsAndIconAreEnglishInEveryLanguage) {
  for (WORD language : {kEnglish, WORD{0x411}, WORD{0x40C}}) {
    auto about = findString(programResources(), 101, language);
    ASSERT_TRUE(about.has_value());
    EXPECT_EQ(utf16ToUtf8(*about), "&About Setup...");
  }
  EXPECT_FALSE(findString(programResources(), 102, kEnglish).has_value());
  EXPECT_NE(findResource(programResources(), RT_GROUP_ICON_ID, 128, kEnglish), nullptr);
}

TEST(DialogResources, LanguageChoiceFallsBackAsWindowsDoes) {
  auto languageFor = [](WORD user, WORD id = 102) {
    return findResource(programResources(), RT_DIALOG_ID, id, user)->language;
  };
  EXPECT_EQ(languageFor(0x411), 0x411);
  EXPECT_EQ(languageFor(0x0C04), 0x404) << "Chinese of Hong Kong: the primary language's default";
  EXPECT_EQ(languageFor(0x080C), 0x40C) << "French of Belgium";
  EXPECT_EQ(languageFor(0x0407), 0x409) << "German: no template, English";
  EXPECT_EQ(languageFor(0x411, 103), 0x409) << "the option dialogs exist in English only";
  EXPECT_EQ(languageFor(0x40C, 131), 0x409) << "the option dialogs exist in English only";
  EXPECT_EQ(findResource(programResources(), RT_DIALOG_ID, 104, 0x409), nullptr);
}

TEST(DialogResources, TruncatedOrMalformedDataIsRefused) {
  const ResEntry* e = findResource(programResources(), RT_DIALOG_ID, 102, kEnglish);
  std::vector<std::uint8_t> cut(e->data.begin(), e->data.begin() + static_cast<long>(e->data.size() / 2));
  EXPECT_THROW(parseDialogTemplate(cut), ResourceError);
  const std::uint8_t badHeader[] = {0, 0, 0, 0, 8, 0, 0, 0, 0xFF, 0xFF, 5, 0, 0xFF, 0xFF, 1, 0};
  EXPECT_THROW(parseResFile(badHeader, sizeof(badHeader)), ResourceError);
  const std::uint8_t tooLong[] = {0x40, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 5, 0, 0xFF, 0xFF, 1, 0,
                                  0,    0, 0, 0, 0,    0, 9, 4, 0,    0,    0, 0, 0,    0,    0, 0};
  EXPECT_THROW(parseResFile(tooLong, sizeof(tooLong)), ResourceError);
}

}  // namespace
}  // namespace tvx::sim
