// The controls of the running dialogs: which dialog or control a window handle is, the messages
// a control takes, and the window functions on it.
#include "DialogControls.h"

namespace tvx::sim {

bool reachable(const Dialogs::Control& c) { return c.enabled && c.visible; }

std::string label(const Dialogs::Control& c) {
  std::string text;
  for (char ch : c.t.text) {
    if (ch != '&') text += ch;
  }
  return std::to_string(c.t.id) + " \"" + text + "\"";
}

std::string checkName(UINT check) {
  return check == BST_CHECKED ? "checked" : check == BST_INDETERMINATE ? "indeterminate" : "unchecked";
}

WPARAM commandParam(int id, UINT code) {
  return (static_cast<WPARAM>(code) << 16) | (static_cast<WPARAM>(id) & 0xFFFF);
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

}  // namespace tvx::sim
