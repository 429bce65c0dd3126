#include "RunView.h"

#include <algorithm>
#include <cctype>

namespace tvx::sim {

namespace {

int templateOf(const Happening& h) {
  const std::string id = h.field("dialog");
  return !id.empty() && std::isdigit(static_cast<unsigned char>(id[0])) ? std::stoi(id) : 0;
}

// `ID "text"` at the start of a control's label: the id, and where the label ends.
std::optional<std::pair<int, std::size_t>> labelAt(const std::string& text, std::size_t at, std::string& name) {
  std::size_t i = at;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i == at || i > at + 9 || i + 1 >= text.size() || text[i] != ' ' || text[i + 1] != '"') return std::nullopt;
  const std::size_t close = text.find('"', i + 2);
  if (close == std::string::npos) return std::nullopt;
  name = text.substr(i + 2, close - i - 2);
  return std::make_pair(std::stoi(text.substr(at, i - at)), close + 1);
}

}  // namespace

bool DialogSeen::checked(int id) const {
  auto it = controls.find(id);
  return it != controls.end() && it->second.checked;
}

bool RunView::showed(const std::string& text) const {
  for (const auto& m : messages) {
    if (m.text == text) return true;
  }
  return false;
}

const DialogSeen* RunView::dialog(int templateId) const {
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    if (it->templateId == templateId) return &*it;
  }
  return nullptr;
}

void applyState(ControlSeen& control, const std::string& state) {
  if (state == "checked") control.checked = true;
  if (state == "unchecked" || state == "indeterminate") control.checked = false;
  if (state == "disabled") control.enabled = false;
  if (state == "enabled") control.enabled = true;
  if (state == "hidden") control.visible = false;
  if (state == "shown") control.visible = true;
}

std::map<int, ControlSeen> parseControls(const std::string& listed) {
  std::map<int, ControlSeen> controls;
  std::size_t at = 0;
  while (at < listed.size()) {
    std::string name;
    auto label = labelAt(listed, at, name);
    if (!label) break;
    ControlSeen control;
    control.text = name;
    // The state words up to the next control's label.
    std::size_t end = label->second;
    std::string next;
    while (true) {
      end = listed.find(", ", end);
      if (end == std::string::npos || labelAt(listed, end + 2, next)) break;
      end += 2;
    }
    const std::string states =
        listed.substr(label->second, end == std::string::npos ? std::string::npos : end - label->second);
    std::size_t word = 0;
    while (word < states.size()) {
      while (word < states.size() && states[word] == ' ') ++word;
      std::size_t stop = states.find(' ', word);
      applyState(control, states.substr(word, stop == std::string::npos ? std::string::npos : stop - word));
      if (stop == std::string::npos) break;
      word = stop;
    }
    controls[label->first] = control;
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return controls;
}

RunView viewOf(const std::vector<Happening>& happenings) {
  RunView view;
  std::vector<std::size_t> open;  // the dialogs on the screen, innermost last
  const auto openDialog = [&](int templateId) -> DialogSeen* {
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
      if (view.dialogs[*it].templateId == templateId) return &view.dialogs[*it];
    }
    return nullptr;
  };
  for (const Happening& h : happenings) {
    if (h.kind == "message") {
      view.messages.push_back(MessageSeen{h.field("text"), h.field("caption"), h.field("answer")});
    } else if (h.kind == "start") {
      view.started.push_back(h.field("commandLine"));
    } else if (h.kind == "start failed") {
      view.startsFailed.push_back(h.field("commandLine"));
    } else if (h.kind == "restart") {
      view.restart = true;
    } else if (h.kind == "dialog") {
      DialogSeen d;
      d.templateId = templateOf(h);
      d.caption = h.field("caption");
      d.controls = parseControls(h.field("controls"));
      d.shown = true;
      view.dialogs.push_back(d);
      open.push_back(view.dialogs.size() - 1);
    } else if (h.kind == "control") {
      if (DialogSeen* d = openDialog(templateOf(h))) {
        std::string name;
        if (auto label = labelAt(h.field("control"), 0, name)) applyState(d->controls[label->first], h.field("state"));
      }
    } else if (h.kind == "dialog end") {
      DialogSeen* d = openDialog(templateOf(h));
      if (d == nullptr) {
        // Ended before it was shown: it is in the view all the same.
        view.dialogs.push_back(DialogSeen{});
        d = &view.dialogs.back();
        d->templateId = templateOf(h);
      } else {
        const auto index = static_cast<std::size_t>(d - view.dialogs.data());
        open.erase(std::find(open.begin(), open.end(), index));
      }
      d->result = h.field("result");
    }
  }
  return view;
}

}  // namespace tvx::sim
