// Running a dialog of the program's own: made from its resource template in the user's language,
// WM_INITDIALOG and what it posted, the person's steps until it ends, the end told; and what the
// dialog shows a person when it appears.
#include <algorithm>

#include "DialogControls.h"
#include "SimPlatform.h"

namespace tvx::sim {

namespace {

constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr std::uintptr_t kMenuBase = 0x50000000;

std::string languageName(WORD language) {
  switch (language) {
    case 0x409:
      return "English";
    case 0x404:
      return "Chinese (Traditional)";
    case 0x40C:
      return "French";
    case 0x411:
      return "Japanese";
    case 0x412:
      return "Korean";
    default:
      return "language";
  }
}

bool isListed(const Dialogs::Control& c) { return c.t.id != -1; }

// The state a person sees: checked or not, and what differs from an ordinary enabled, visible control.
std::string stateOf(const Dialogs::Control& c) {
  std::vector<std::string> parts;
  if (c.t.isCheckBox() || c.t.isRadioButton()) parts.push_back(checkName(c.check));
  if (c.t.kind == ControlKind::Button && c.t.buttonType() == BS_DEFPUSHBUTTON) parts.push_back("default");
  if (!c.enabled) parts.push_back("disabled");
  if (!c.visible) parts.push_back("hidden");
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : " ") + p;
  return out;
}

// The texts a person reads in a dialog besides its numbered controls: its statics and group
// boxes, as drawn ("&" marks a mnemonic unless the static says SS_NOPREFIX).
std::string textsOf(const std::vector<Dialogs::Control>& controls) {
  constexpr DWORD kNoPrefix = 0x80;  // SS_NOPREFIX
  std::string out;
  for (const Dialogs::Control& c : controls) {
    const std::string kind = kindName(c.t);
    if (isListed(c) || c.t.text.empty() || (kind != "static" && kind != "group box")) continue;
    std::string text;
    for (char ch : c.t.text) {
      if (ch != '&' || (kind == "static" && (c.t.style & kNoPrefix) != 0)) text += ch;
    }
    out += (out.empty() ? "" : ", ") + ("\"" + text + "\"");
  }
  return out;
}

}  // namespace

INT_PTR Dialogs::DialogBoxParamA(int templateId, HWND, DLGPROC proc, LPARAM param) {
  if (m_.injectFault("DialogBoxParamA", ERROR_NOT_ENOUGH_MEMORY)) return -1;
  const ResEntry* resource = findResource(resources_, RT_DIALOG_ID, static_cast<WORD>(templateId), m_.language);
  if (resource == nullptr || proc == nullptr) {
    m_.lastError = ERROR_RESOURCE_NAME_NOT_FOUND;
    return -1;
  }
  running_.push_back(create(*resource, templateId, proc));
  Running& d = *running_.back();
  struct Pop {
    Dialogs& host;
    ~Pop() {
      if (Window* w = host.m_.windowOf(host.running_.back()->window)) w->open = w->visible = false;
      host.running_.pop_back();
    }
  } pop{*this};
  initialise(d, param);
  if (d.ended) return end(d, true);
  show(d);
  runUntilEnded(d);
  return end(d, false);
}

std::unique_ptr<Dialogs::Running> Dialogs::create(const ResEntry& resource, int templateId, DLGPROC proc) {
  auto d = std::make_unique<Running>();
  d->templateId = templateId;
  d->language = resource.language;
  d->t = parseDialogTemplate(resource.data);
  d->proc = proc;
  for (const ControlTemplate& t : d->t.controls) {
    Control c;
    c.t = t;
    c.handle = reinterpret_cast<HWND>(nextHandle_ += 0x10);
    c.enabled = (t.style & WS_DISABLED) == 0;
    c.visible = (t.style & WS_VISIBLE) != 0;
    c.tabStop = (t.style & WS_TABSTOP) != 0;
    d->controls.push_back(c);
  }
  // The dialog's window exists, hidden, from WM_INITDIALOG on; Windows shows it once the
  // initialisation and the messages it posted are done, unless the dialog has ended by then.
  d->window = m_.addOwnWindow(d->t.title, false);
  if ((d->t.style & WS_SYSMENU) != 0) {
    d->systemMenu = reinterpret_cast<HMENU>(kMenuBase + reinterpret_cast<std::uintptr_t>(d->window));
  }
  return d;
}

void Dialogs::initialise(Running& d, LPARAM param) {
  auto firstTabStop =
      std::find_if(d.controls.begin(), d.controls.end(), [](const Control& c) { return c.tabStop && reachable(c); });
  const HWND focusWanted = firstTabStop != d.controls.end() ? firstTabStop->handle : nullptr;
  // The dialog procedure may put the focus elsewhere; when it does not, the dialog manager puts
  // it on the first tab stop, at the latest when the dialog becomes active.
  call(d, WM_INITDIALOG, reinterpret_cast<WPARAM>(focusWanted), param);
  if (focusWanted != nullptr) d.focus = static_cast<int>(firstTabStop - d.controls.begin());
  deliverPosted(d);
}

void Dialogs::runUntilEnded(Running& d) {
  int idleSteps = 0;
  while (!d.ended) {
    std::optional<ScriptStep> step = m_.takeDialogStep(d.templateId, d.t.title);
    if (!step) {
      // The script says nothing more for this dialog: the person takes what it offers with
      // Return, and when that does not end it, leaves with Escape.
      static const char* const fallback[] = {"Return", "Escape"};
      if (idleSteps >= 2) {
        m_.record("dialog stuck", {{"dialog", name(d)}});
        d.ended = true;
        d.result = IDCANCEL;
        break;
      }
      step = ScriptStep{"key", fallback[idleSteps++], 0, 0, {}};
      m_.record("dialog action",
                {{"dialog", name(d)}, {"action", "key " + step->value}, {"note", "no more script steps"}});
      pressKey(d, step->value);
    } else {
      m_.advance(step->delay);
      act(d, *step);
    }
    deliverPosted(d);
  }
}

INT_PTR Dialogs::end(const Running& d, bool beforeShown) {
  std::vector<std::pair<std::string, std::string>> fields = {
      {"dialog", name(d)},
      {"result", d.result == IDOK       ? "OK"
                 : d.result == IDCANCEL ? "Cancel"
                                        : std::to_string(d.result)}};
  if (beforeShown) fields.emplace_back("beforeShown", "yes");
  m_.record("dialog end", fields);
  return d.result;
}

void Dialogs::show(Running& d) {
  if (Window* w = m_.windowOf(d.window)) w->visible = true;
  d.shown = true;
  std::string controls;
  for (const Control& c : d.controls) {
    if (!isListed(c)) continue;
    const std::string state = stateOf(c);
    controls += (controls.empty() ? "" : ", ") + label(c) + (state.empty() ? "" : " " + state);
  }
  std::vector<std::pair<std::string, std::string>> fields = {
      {"dialog", name(d)},
      {"caption", d.t.title},
      {"language", languageName(d.language) + ", " + std::to_string(d.language)},
      {"controls", controls}};
  if (const std::string texts = textsOf(d.controls); !texts.empty()) fields.emplace_back("texts", texts);
  if (d.focus >= 0) fields.emplace_back("focus", std::to_string(d.controls[d.focus].t.id));
  std::string menu;
  for (const auto& item : d.menuItems) menu += (menu.empty() ? "" : ", ") + ("\"" + item + "\"");
  if (!menu.empty()) fields.emplace_back("systemMenu", menu);
  m_.record("dialog", fields);
}

void Dialogs::deliverPosted(Running& d) {
  while (!d.ended && !d.posted.empty()) {
    auto [wParam, lParam] = d.posted.front();
    d.posted.erase(d.posted.begin());
    SendMessageA(d.window, WM_COMMAND, wParam, lParam);
  }
}

INT_PTR Dialogs::call(Running& d, UINT message, WPARAM wParam, LPARAM lParam) {
  return d.proc(d.window, message, wParam, lParam);
}

LRESULT Dialogs::defaultHandling(Running& d, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: {
      // The dialog manager posts a Cancel command, unless the Cancel button is disabled.
      auto cancel =
          std::find_if(d.controls.begin(), d.controls.end(), [](const Control& c) { return c.t.id == IDCANCEL; });
      if (cancel != d.controls.end() && !cancel->enabled) return 0;
      d.posted.emplace_back(commandParam(IDCANCEL, BN_CLICKED),
                            reinterpret_cast<LPARAM>(cancel != d.controls.end() ? cancel->handle : nullptr));
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(d.window, WM_CLOSE, 0, 0);
      return 0;
    case WM_SETICON: {
      HICON previous = d.icon;
      if (wParam == ICON_BIG) d.icon = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    default:
      return 0;
  }
}

BOOL Dialogs::EndDialog(HWND dialog, INT_PTR result) {
  Running* d = dialogOf(dialog);
  if (d == nullptr) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  d->ended = true;
  d->result = result;
  return TRUE;
}

}  // namespace tvx::sim
