// The headless dialog host: controls from a template, automatic check boxes and radio buttons
// as Windows has them, keys, focus, the default button and closing, driven by the script.
#include <gtest/gtest.h>

#include "SimMachine.h"

namespace tvx::sim {
namespace {

struct Ctl {
  int id;
  WORD atom;  // 0x80 button, 0x82 static
  DWORD style;
  const char* text;
};

void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, DWORD value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}
void putText(std::vector<std::uint8_t>& out, const char* text) {
  for (const char* c = text; *c != '\0'; ++c) put16(out, static_cast<unsigned char>(*c));
  put16(out, 0);
}

// A DLGTEMPLATE as the resource compiler writes it for a DIALOG statement.
ResEntry dialogResource(WORD id, std::vector<Ctl> controls) {
  std::vector<std::uint8_t> d;
  put32(d, WS_POPUP | WS_CAPTION | WS_SYSMENU);
  put32(d, 0);
  put16(d, static_cast<unsigned>(controls.size()));
  for (int i = 0; i < 4; ++i) put16(d, 10);
  put16(d, 0);  // no menu
  put16(d, 0);  // standard class
  putText(d, "Test");
  for (const Ctl& c : controls) {
    while (d.size() % 4 != 0) d.push_back(0);
    put32(d, WS_CHILD | WS_VISIBLE | c.style);
    put32(d, 0);
    for (int i = 0; i < 4; ++i) put16(d, 10);
    put16(d, static_cast<unsigned>(c.id) & 0xFFFF);
    put16(d, 0xFFFF);
    put16(d, c.atom);
    putText(d, c.text);
    put16(d, 0);
  }
  ResEntry e;
  e.type.ordinal = RT_DIALOG_ID;
  e.name.ordinal = id;
  e.language = 0x409;
  e.data = d;
  return e;
}

// The dialog procedure under test: writes down the commands, ends on OK and Cancel.
std::vector<std::string> g_seen;
bool g_closeAtInit = false;
IDialogs* g_host = nullptr;
IWindows* g_windows = nullptr;

INT_PTR CALLBACK testProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG && g_closeAtInit) g_windows->SendMessageA(window, WM_CLOSE, 0, 0);
  if (message != WM_COMMAND) return FALSE;
  const int id = static_cast<int>(wParam & 0xFFFF);
  g_seen.push_back("command " + std::to_string(id));
  if (id == IDOK || id == IDCANCEL) g_host->EndDialog(window, id);
  return TRUE;
}

struct Host : test::SimMachine {
  std::vector<ResEntry> resources;
  std::unique_ptr<SimPlatform> host;
  explicit Host(std::vector<Ctl> controls) {
    resources.push_back(dialogResource(200, std::move(controls)));
    host = std::make_unique<SimPlatform>(machine, resources);
    g_host = &host->dialogs();
    g_windows = &host->windows();
    g_seen.clear();
    g_closeAtInit = false;
  }
  INT_PTR run() { return host->dialogs().DialogBoxParamA(200, nullptr, testProc, 0); }
  // The last state the report gave each control: "checked", "unchecked", "disabled", ...
  std::string lastState(int id) {
    std::string state = "(none)";
    for (const auto& h : happenings("control")) {
      if (h.field("control").rfind(std::to_string(id) + " ", 0) == 0) state = h.field("state");
    }
    return state;
  }
};

const DWORD kRadio = BS_AUTORADIOBUTTON;
const DWORD kBox = BS_AUTOCHECKBOX | WS_TABSTOP;

TEST(HeadlessDialog, RadioGroupEndsWhereTheNextGroupStyleBegins) {
  Host h({{11, 0x80, kRadio | WS_GROUP, "A"},
          {12, 0x80, kRadio, "B"},
          {0xFFFF, 0x82, 0, "label without group style"},
          {13, 0x80, kRadio | WS_GROUP, "C"},
          {14, 0x80, kRadio, "D"},
          {IDOK, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"}});
  h.script({{"click", "11"}, {"click", "13"}, {"click", "12"}, {"click", "14"}, {"click", "12"}, {"click", "1"}});
  EXPECT_EQ(h.run(), IDOK);
  EXPECT_EQ(h.lastState(11), "unchecked");
  EXPECT_EQ(h.lastState(12), "checked");
  EXPECT_EQ(h.lastState(13), "unchecked") << "D took C's place in the second group";
  EXPECT_EQ(h.lastState(14), "checked") << "B and D are in different groups";
  EXPECT_EQ(g_seen, (std::vector<std::string>{"command 11", "command 13", "command 12", "command 14", "command 12",
                                              "command 1"}));
}

TEST(HeadlessDialog, CheckBoxesToggleAndUnreachableControlsIgnoreClicks) {
  Host h({{21, 0x80, kBox, "box"},
          {22, 0x80, kBox | WS_DISABLED, "disabled box"},
          {23, 0x82, 0, "static"},
          {IDOK, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"}});
  h.script({{"click", "21"},
            {"click", "22"},
            {"click", "23"},
            {"click", "21"},
            {"click", "21"},
            {"click", "99"},
            {"click", "1"}});
  EXPECT_EQ(h.run(), IDOK);
  EXPECT_EQ(h.lastState(21), "checked");
  EXPECT_EQ(h.lastState(22), "(none)");
  EXPECT_EQ(g_seen, (std::vector<std::string>{"command 21", "command 21", "command 21", "command 1"}));
  int nothing = 0;
  for (const auto& a : h.happenings("dialog action")) nothing += a.field("action") == "nothing happens";
  EXPECT_EQ(nothing, 1) << "the disabled box; the static takes the click silently";
}

TEST(HeadlessDialog, KeysMoveTheFocusAndPressTheRightButton) {
  Host h({{31, 0x80, kBox, "first"},
          {32, 0x80, kBox | WS_DISABLED, "disabled"},
          {33, 0x80, BS_AUTOCHECKBOX, "no tab stop"},
          {34, 0x80, kBox, "second"},
          {IDOK, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
          {IDCANCEL, 0x80, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"}});
  // Focus starts on 31; Tab reaches 34, skipping the disabled box and the one without a tab stop.
  h.script({{"key", "Space"}, {"key", "Tab"}, {"key", "Space"}, {"key", "Tab"}, {"key", "Tab"}, {"key", "Return"}});
  EXPECT_EQ(h.run(), IDCANCEL) << "Return presses the focused push button, Cancel";
  EXPECT_EQ(h.lastState(31), "checked");
  EXPECT_EQ(h.lastState(34), "checked");
  EXPECT_EQ(h.lastState(33), "(none)");

  Host d({{41, 0x80, kBox, "box"}, {IDOK, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"}});
  d.script({{"key", "Return"}});
  EXPECT_EQ(d.run(), IDOK) << "with the focus on a check box, Return presses the default button";
}

TEST(HeadlessDialog, TabReachesTheCheckedRadioButtonOnly) {
  Host h({{IDOK, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
          {51, 0x80, kRadio | WS_GROUP, "A"},
          {52, 0x80, kRadio, "B"},
          {53, 0x80, kBox | WS_GROUP, "box"}});
  // Neither radio button has a tab stop in the template; checking one gives it one, clearing it
  // takes it away, as Windows' button control does.
  h.script({{"key", "Tab"},
            {"click", "51"},
            {"click", "52"},
            {"key", "Tab"},
            {"key", "Tab"},
            {"key", "Tab"},
            {"key", "Return"}});
  EXPECT_EQ(h.run(), IDOK) << "Return on a radio button presses the default button";
  std::vector<std::string> focus;
  for (const auto& a : h.happenings("dialog action")) {
    if (a.field("action").rfind("focus on ", 0) == 0) focus.push_back(a.field("action").substr(9, 2));
  }
  EXPECT_EQ(focus, (std::vector<std::string>{"53", "53", "1 ", "52"}));
}

TEST(HeadlessDialog, ClosingAndEscapeCancelUnlessTheCancelButtonIsDisabled) {
  Host closed({{IDOK, 0x80, BS_DEFPUSHBUTTON, "OK"}, {IDCANCEL, 0x80, BS_PUSHBUTTON, "Cancel"}});
  closed.script({{"close", ""}});
  EXPECT_EQ(closed.run(), IDCANCEL);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"command 2"}));

  Host escape({{IDOK, 0x80, BS_DEFPUSHBUTTON, "OK"}, {IDCANCEL, 0x80, BS_PUSHBUTTON, "Cancel"}});
  escape.script({{"sysmenu", "close"}});
  EXPECT_EQ(escape.run(), IDCANCEL);

  Host refused({{IDOK, 0x80, BS_DEFPUSHBUTTON, "OK"}, {IDCANCEL, 0x80, BS_PUSHBUTTON | WS_DISABLED, "Cancel"}});
  refused.script({{"key", "Escape"}, {"close", ""}, {"click", "1"}});
  EXPECT_EQ(refused.run(), IDOK);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"command 1"}));
}

TEST(HeadlessDialog, ClosedWhileInitialisingItEndsBeforeItIsShown) {
  Host h({{IDOK, 0x80, BS_DEFPUSHBUTTON, "OK"}, {IDCANCEL, 0x80, BS_PUSHBUTTON, "Cancel"}});
  g_closeAtInit = true;
  h.script({{"click", "1"}});
  EXPECT_EQ(h.run(), IDCANCEL);
  EXPECT_TRUE(h.happenings("dialog").empty()) << "never shown";
  EXPECT_EQ(h.fields("dialog end", "beforeShown"), std::vector<std::string>{"yes"});
  EXPECT_EQ(h.machine.scriptPosition, 0u) << "the person had nothing to click";
  EXPECT_FALSE(h.machine.windows.back().open);
}

TEST(HeadlessDialog, WithoutScriptStepsThePersonTakesTheDefaultThenLeaves) {
  Host accepts({{IDOK, 0x80, BS_DEFPUSHBUTTON, "OK"}, {IDCANCEL, 0x80, BS_PUSHBUTTON, "Cancel"}});
  EXPECT_EQ(accepts.run(), IDOK);
  Host leaves({{IDOK, 0x80, BS_DEFPUSHBUTTON | WS_DISABLED, "OK"}, {IDCANCEL, 0x80, BS_PUSHBUTTON, "Cancel"}});
  EXPECT_EQ(leaves.run(), IDCANCEL);
  Host missing({{IDOK, 0x80, BS_DEFPUSHBUTTON, "OK"}});
  EXPECT_EQ(missing.host->dialogs().DialogBoxParamA(201, nullptr, testProc, 0), -1);
}

}  // namespace
}  // namespace tvx::sim
