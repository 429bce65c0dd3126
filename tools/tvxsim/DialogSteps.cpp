#include "DialogSteps.h"

#include <algorithm>
#include <cctype>

namespace tvx::sim {

namespace {

int numberAt(const std::string& text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
  return end == at || end - at > 9 ? -1 : std::stoi(text.substr(at, end - at));
}

// "English, 1033": the language number after the name.
WORD languageOf(const std::string& field) {
  const std::size_t comma = field.rfind(", ");
  const int number = comma == std::string::npos ? -1 : numberAt(field, comma + 2);
  return number < 0 ? WORD{0} : static_cast<WORD>(number);
}

bool same(const ControlSeen& a, const ControlSeen& b) {
  return a.checked == b.checked && a.enabled == b.enabled && a.visible == b.visible;
}

}  // namespace

bool DialogEpisode::changed() const {
  for (const auto& [id, control] : ended) {
    auto it = shown.find(id);
    if (it == shown.end() || !same(it->second, control)) return true;
  }
  return false;
}

std::vector<DialogEpisode> dialogEpisodes(const std::vector<Happening>& happenings) {
  std::vector<DialogEpisode> episodes;
  std::vector<std::size_t> open;  // the dialogs on the screen, innermost last
  const auto openEpisode = [&](const Happening& h) -> DialogEpisode* {
    const int id = numberAt(h.field("dialog"), 0);
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
      if (episodes[*it].templateId == id) return &episodes[*it];
    }
    return nullptr;
  };
  for (std::size_t i = 0; i < happenings.size(); ++i) {
    const Happening& h = happenings[i];
    if (h.kind == "dialog") {
      DialogEpisode e;
      e.shownAt = i;
      e.templateId = numberAt(h.field("dialog"), 0);
      e.language = languageOf(h.field("language"));
      e.caption = h.field("caption");
      e.shown = parseControls(h.field("controls"));
      e.ended = e.shown;
      if (const int focus = numberAt(h.field("focus"), 0); focus >= 0) e.focus = focus;
      episodes.push_back(e);
      open.push_back(episodes.size() - 1);
      continue;
    }
    DialogEpisode* e = h.field("dialog").empty() ? nullptr : openEpisode(h);
    if (e == nullptr) continue;
    if (h.kind == "dialog action") {
      const std::string action = h.field("action");
      const std::string note = h.field("note");
      const std::string text = action + (note.empty() ? "" : " (" + note + ")");
      // What a step brought about is part of that step: a click on a disabled control, the focus
      // moved by Tab.
      const bool consequence = action == "nothing happens" || action.rfind("focus on ", 0) == 0;
      if (consequence && !e->steps.empty()) {
        e->steps.back().effects.push_back(text);
        e->steps.back().followed.push_back(i);
        continue;
      }
      DialogStep step;
      step.happening = i;
      step.action = text;
      if (action.rfind("click ", 0) == 0) {
        if (const int id = numberAt(action, 6); id >= 0) step.control = id;
      }
      e->steps.push_back(step);
    } else if (h.kind == "control") {
      const std::string control = h.field("control");
      const int id = numberAt(control, 0);
      if (id >= 0) applyState(e->ended[id], h.field("state"));
      if (!e->steps.empty()) {
        e->steps.back().effects.push_back(control + " " + h.field("state"));
        e->steps.back().followed.push_back(i);
      }
    } else if (h.kind == "icon drawn" && !e->steps.empty()) {
      e->steps.back().effects.push_back("icon drawn at " + h.field("x") + ", " + h.field("y"));
      e->steps.back().followed.push_back(i);
    } else if (h.kind == "dialog end" && h.field("beforeShown").empty()) {
      e->result = h.field("result");
      e->endedAt = i;
      open.erase(std::find(open.begin(), open.end(), static_cast<std::size_t>(e - episodes.data())));
    }
  }
  return episodes;
}

}  // namespace tvx::sim
