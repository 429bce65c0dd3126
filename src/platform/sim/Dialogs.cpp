#include <algorithm>

#include "DialogUnits.h"
#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {

constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr std::uintptr_t kMenuBase = 0x50000000;
constexpr std::uintptr_t kIconBase = 0x60000000;
HDC const kPaintDc = reinterpret_cast<HDC>(std::uintptr_t{0x70000000});

WPARAM commandParam(int id, UINT code) {
  return (static_cast<WPARAM>(code) << 16) | (static_cast<WPARAM>(id) & 0xFFFF);
}

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

std::string checkName(UINT check) {
  return check == BST_CHECKED ? "checked" : check == BST_INDETERMINATE ? "indeterminate" : "unchecked";
}

bool isListed(const Dialogs::Control& c) { return c.t.id != -1; }

std::string label(const Dialogs::Control& c) {
  std::string text;
  for (char ch : c.t.text) {
    if (ch != '&') text += ch;
  }
  return std::to_string(c.t.id) + " \"" + text + "\"";
}

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

bool reachable(const Dialogs::Control& c) { return c.enabled && c.visible; }

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

// ---- running a dialog ------------------------------------------------------------------------

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

void Dialogs::act(Running& d, const ScriptStep& step) {
  std::string action = step.kind + (step.value.empty() ? "" : " " + step.value);
  if (step.kind == "click") {
    const int id = std::stoi(step.value);
    auto it = std::find_if(d.controls.begin(), d.controls.end(), [&](const Control& c) { return c.t.id == id; });
    if (it == d.controls.end()) {
      m_.record("dialog action", {{"dialog", name(d)}, {"action", action}, {"note", "no such control"}});
      return;
    }
    m_.record("dialog action", {{"dialog", name(d)}, {"action", "click " + label(*it)}});
    if (!reachable(*it)) {
      m_.record("dialog action",
                {{"dialog", name(d)}, {"action", "nothing happens"}, {"note", it->enabled ? "hidden" : "disabled"}});
      return;
    }
    click(d, *it);
    return;
  }
  m_.record("dialog action", {{"dialog", name(d)}, {"action", action}});
  if (step.kind == "key") {
    pressKey(d, step.value);
  } else if (step.kind == "close") {
    SendMessageA(d.window, WM_CLOSE, 0, 0);
  } else if (step.kind == "sysmenu") {
    if (iequals(step.value, "close")) {
      SendMessageA(d.window, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    }
    if (!step.value.empty() && step.value.find_first_not_of("0123456789") == std::string::npos) {
      SendMessageA(d.window, WM_SYSCOMMAND, std::stoul(step.value), 0);
      return;
    }
    for (const auto& [flags, id] : d.menuIds) {
      if (flags == MF_STRING) {
        SendMessageA(d.window, WM_SYSCOMMAND, id, 0);
        return;
      }
    }
    m_.record("dialog action", {{"dialog", name(d)}, {"action", "nothing happens"}, {"note", "no such menu item"}});
  } else if (step.kind == "minimize") {
    d.iconic = true;
    SendMessageA(d.window, WM_PAINT, 0, 0);
    d.iconic = false;
  }
}

void Dialogs::click(Running& d, Control& c) {
  if (c.t.kind != ControlKind::Button) return;  // statics do not answer clicks
  const DWORD type = c.t.buttonType();
  if (c.tabStop || c.t.isRadioButton()) d.focus = static_cast<int>(&c - d.controls.data());
  if (type == BS_AUTOCHECKBOX) {
    setCheck(d, c, c.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  } else if (type == BS_AUTO3STATE) {
    setCheck(d, c, (c.check + 1) % 3);
  } else if (type == BS_AUTORADIOBUTTON) {
    // The group runs from the last control with WS_GROUP up to this one, to the next one with it.
    // The clicked button is checked first, then the others of its group are cleared.
    setCheck(d, c, BST_CHECKED);
    const std::size_t index = static_cast<std::size_t>(&c - d.controls.data());
    std::size_t first = index;
    while (first > 0 && (d.controls[first].t.style & WS_GROUP) == 0) --first;
    for (std::size_t i = first; i < d.controls.size(); ++i) {
      if (i > index && (d.controls[i].t.style & WS_GROUP) != 0) break;
      if (i != index && d.controls[i].t.isRadioButton()) setCheck(d, d.controls[i], BST_UNCHECKED);
    }
  }
  command(d, c.t.id, c.handle);
}

void Dialogs::command(Running& d, int id, HWND from) {
  SendMessageA(d.window, WM_COMMAND, commandParam(id, BN_CLICKED), reinterpret_cast<LPARAM>(from));
}

void Dialogs::pressKey(Running& d, const std::string& key) {
  Control* focused = d.focus >= 0 ? &d.controls[d.focus] : nullptr;
  if (iequals(key, "Tab")) {
    moveFocus(d);
  } else if (iequals(key, "Space")) {
    if (focused != nullptr && reachable(*focused)) click(d, *focused);
  } else if (iequals(key, "Escape")) {
    auto cancel =
        std::find_if(d.controls.begin(), d.controls.end(), [](const Control& c) { return c.t.id == IDCANCEL; });
    if (cancel == d.controls.end() || cancel->enabled)
      command(d, IDCANCEL, cancel == d.controls.end() ? nullptr : cancel->handle);
  } else if (iequals(key, "Return")) {
    // A focused push button takes Return; otherwise the default push button does.
    Control* target = focused != nullptr && focused->t.isPushButton() ? focused : nullptr;
    if (target == nullptr) {
      for (Control& c : d.controls) {
        if (c.t.kind == ControlKind::Button && c.t.buttonType() == BS_DEFPUSHBUTTON) target = &c;
      }
    }
    if (target == nullptr) {
      command(d, IDOK, nullptr);
    } else if (target->enabled) {
      command(d, target->t.id, target->handle);
    }
  }
}

void Dialogs::moveFocus(Running& d) {
  const int n = static_cast<int>(d.controls.size());
  for (int step = 1; step <= n; ++step) {
    const int i = (d.focus + step + n) % n;
    const Control& c = d.controls[i];
    if (c.tabStop && reachable(c)) {
      d.focus = i;
      m_.record("dialog action", {{"dialog", name(d)}, {"action", "focus on " + label(c)}});
      return;
    }
  }
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

// ---- messages and window functions -----------------------------------------------------------

bool Dialogs::owns(HWND window) const { return dialogOf(window) != nullptr || controlOf(window).second != nullptr; }

Dialogs::Running* Dialogs::dialogOf(HWND window) const {
  for (const auto& d : running_) {
    if (d->window == window && window != nullptr) return d.get();
  }
  return nullptr;
}

std::pair<Dialogs::Running*, Dialogs::Control*> Dialogs::controlOf(HWND window) const {
  for (const auto& d : running_) {
    for (Control& c : d->controls) {
      if (c.handle == window && window != nullptr) return {d.get(), &c};
    }
  }
  return {nullptr, nullptr};
}

const Dialogs::Control* Dialogs::control(const Running& d, int id) const {
  for (const Control& c : d.controls) {
    if (c.t.id == id) return &c;
  }
  return nullptr;
}

LRESULT Dialogs::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Running* d = dialogOf(window)) {
    const INT_PTR handled = call(*d, message, wParam, lParam);
    if (handled != FALSE || message == WM_QUERYDRAGICON || message == WM_INITDIALOG) return handled;
    return defaultHandling(*d, message, wParam, lParam);
  }
  auto [d, c] = controlOf(window);
  if (c == nullptr) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return 0;
  }
  switch (message) {
    case BM_GETCHECK:
      return c->check;
    case BM_SETCHECK:
      if (c->t.isCheckBox() || c->t.isRadioButton()) setCheck(*d, *c, static_cast<UINT>(wParam));
      return 0;
    case BM_CLICK:
      if (reachable(*c)) click(*d, *c);
      return 0;
    default:
      return 0;
  }
}

void Dialogs::setCheck(Running& d, Control& c, UINT check) {
  // A radio button is a tab stop while it is checked, so that Tab reaches the group's choice.
  if (c.t.isRadioButton()) c.tabStop = check != BST_UNCHECKED;
  if (c.check == check) return;
  c.check = check;
  note(d, c, checkName(check));
}

void Dialogs::note(Running& d, const Control& c, const std::string& state) {
  // Changes made before the dialog appears are part of what it shows first.
  if (d.shown) m_.record("control", {{"dialog", name(d)}, {"control", label(c)}, {"state", state}});
}

BOOL Dialogs::ShowControl(HWND window, int show) {
  auto [d, c] = controlOf(window);
  if (c == nullptr) return FALSE;
  const BOOL was = c->visible ? TRUE : FALSE;
  const bool visible = show != static_cast<int>(SW_HIDE);
  if (c->visible != visible) {
    c->visible = visible;
    note(*d, *c, visible ? "shown" : "hidden");
  }
  return was;
}

std::string Dialogs::describe(HWND window) const {
  if (Running* d = dialogOf(window)) return name(*d);
  auto [d, c] = controlOf(window);
  return c != nullptr ? "dialog " + name(*d) + " control " + std::to_string(c->t.id) : "?";
}

std::string Dialogs::name(const Running& d) const { return std::to_string(d.templateId); }

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

// The calls on the controls of a dialog of the program's own, while it runs, reach the control's
// procedure directly: Windows does not fail them, and neither does the simulated machine.
HWND Dialogs::GetDlgItem(HWND dialog, int id) {
  Running* d = dialogOf(dialog);
  const Control* c = d != nullptr ? control(*d, id) : nullptr;
  return c != nullptr ? c->handle : nullptr;
}

BOOL Dialogs::CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return FALSE;
  SendMessageA(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT Dialogs::IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? static_cast<UINT>(SendMessageA(item, BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

BOOL Dialogs::EnableWindow(HWND window, BOOL enable) {
  auto [d, c] = controlOf(window);
  if (c == nullptr) return FALSE;
  const BOOL wasDisabled = c->enabled ? FALSE : TRUE;
  if (c->enabled != (enable != FALSE)) {
    c->enabled = enable != FALSE;
    note(*d, *c, c->enabled ? "enabled" : "disabled");
  }
  return wasDisabled;
}

BOOL Dialogs::IsWindowEnabled(HWND window) {
  if (dialogOf(window) != nullptr) return TRUE;
  auto [d, c] = controlOf(window);
  return c != nullptr && c->enabled ? TRUE : FALSE;
}

BOOL Dialogs::IsWindowVisible(HWND window) {
  if (Running* d = dialogOf(window)) return d->shown ? TRUE : FALSE;
  auto [d, c] = controlOf(window);
  return c != nullptr && c->visible && d->shown ? TRUE : FALSE;
}

BOOL Dialogs::IsIconic(HWND window) {
  Running* d = dialogOf(window);
  return d != nullptr && d->iconic ? TRUE : FALSE;
}

HMENU Dialogs::GetSystemMenu(HWND window, BOOL) {
  if (m_.injectFault("GetSystemMenu")) return nullptr;
  Running* d = dialogOf(window);
  return d != nullptr ? d->systemMenu : nullptr;
}

BOOL Dialogs::AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  if (m_.injectFault("AppendMenuA")) return FALSE;
  for (const auto& d : running_) {
    if (d->systemMenu == nullptr || d->systemMenu != menu) continue;
    d->menuIds.emplace_back(flags, id);
    d->menuItems.push_back((flags & MF_SEPARATOR) != 0 ? std::string("separator")
                                                       : std::string(text != nullptr ? text : ""));
    return TRUE;
  }
  return FALSE;
}

int Dialogs::LoadStringA(UINT id, LPSTR buffer, int size) {
  if (m_.injectFault("LoadStringA")) return 0;
  if (buffer == nullptr || size <= 0) return 0;
  const auto text = findString(resources_, id, m_.language);
  const std::string utf8 = text ? utf16ToUtf8(*text) : std::string();
  const std::size_t n = std::min(utf8.size(), static_cast<std::size_t>(size - 1));
  utf8.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

HICON Dialogs::LoadIconA(int id) {
  if (m_.injectFault("LoadIconA")) return nullptr;
  if (findResource(resources_, RT_GROUP_ICON_ID, static_cast<WORD>(id), m_.language) == nullptr) return nullptr;
  return reinterpret_cast<HICON>(kIconBase + static_cast<std::uintptr_t>(id));
}

BOOL Dialogs::GetClientRect(HWND window, RECT* rect) {
  if (m_.injectFault("GetClientRect")) return FALSE;
  Running* d = dialogOf(window);
  if (d == nullptr || rect == nullptr) return FALSE;
  const DialogBaseUnits units = dialogBaseUnits(d->t.pointSize);
  *rect = RECT{0, 0, static_cast<LONG>(dialogUnitsToPixelsX(d->t.cx, units)),
               static_cast<LONG>(dialogUnitsToPixelsY(d->t.cy, units))};
  return TRUE;
}

int Dialogs::GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

HDC Dialogs::BeginPaint(HWND window, PAINTSTRUCT* paint) {
  if (m_.injectFault("BeginPaint")) return nullptr;
  if (dialogOf(window) == nullptr || paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  paint->hdc = kPaintDc;
  return kPaintDc;
}

BOOL Dialogs::EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

BOOL Dialogs::DrawIcon(HDC dc, int x, int y, HICON icon) {
  if (m_.injectFault("DrawIcon")) return FALSE;
  Running* d = top();
  if (dc != kPaintDc || d == nullptr || icon == nullptr) return FALSE;
  m_.record("icon drawn", {{"dialog", name(*d)}, {"x", std::to_string(x)}, {"y", std::to_string(y)}});
  return TRUE;
}

}  // namespace tvx::sim
