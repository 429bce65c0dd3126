// What a person does in a running dialog, as the machine's script says: a click on a control, a
// key, the system menu, closing or minimising the window; and what the dialog manager makes of a
// click or a key.
#include <algorithm>

#include "DialogControls.h"
#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

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

}  // namespace tvx::sim
