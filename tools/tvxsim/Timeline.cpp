#include "Timeline.h"

#include <cstdio>

namespace tvx::sim {

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// How a program was started: "WinExec, SW_SHOW", "CreateProcessA, STARTF_USESHOWWINDOW, SW_SHOW".
std::string startedHow(const Happening& h) {
  std::string out = h.field("how");
  for (const char* parameter : {"show", "startupFlags", "showWindow"}) {
    const std::string value = h.field(parameter);
    if (value.empty()) continue;
    out += ", " + (std::string(parameter) == "startupFlags" && value == "0" ? "no start-up flags" : value);
  }
  return out;
}

std::string describe(const Happening& h) {
  const auto f = [&h](const char* name) { return h.field(name); };
  if (h.kind == "message") {
    return "message " + quoted(f("text")) + ", caption " + quoted(f("caption")) + ", owner " + f("owner") +
           ", buttons " + f("buttons") + " -> " + f("answer");
  }
  if (h.kind == "start") return "started " + f("commandLine") + " (" + startedHow(h) + ")";
  if (h.kind == "start failed") {
    return "could not start " + f("commandLine") + " (" + startedHow(h) + ")" +
           (f("notAProgram").empty() ? "" : ": " + f("notAProgram") + " is not a program");
  }
  if (h.kind == "missing dll") return f("call") + " failed: this Windows has no " + f("dll");
  if (h.kind == "tray") {
    return "tray program read \"Services\" " + f("services") + ": volume icon " + f("volumeIcon");
  }
  if (h.kind == "ended") return "program ended: " + f("program") + ", exit code " + f("exitCode");
  if (h.kind == "close") return "WM_CLOSE to " + quoted(f("window")) + ": " + f("result");
  if (h.kind == "restart") return "restart requested (ExitWindowsEx " + f("flags") + ", reason " + f("reason") + ")";
  if (h.kind == "restart refused") {
    return "restart refused (ExitWindowsEx " + f("flags") + ", reason " + f("reason") + "): " + f("refused");
  }
  if (h.kind == "exit" && !f("how").empty()) return "program ended (" + f("how") + "), exit code " + f("code");
  if (h.kind == "exit") return "process exit, code " + f("code");
  if (h.kind == "directory") return "current directory set to " + f("current");
  if (h.kind == "copy") {
    return (f("result") == "copied" ? "copied " : "could not copy ") + f("from") + " to " + f("to") +
           (f("result") == "copied" ? "" : " (" + f("result") + ")");
  }
  if (h.kind == "ini") {
    std::string line = "INI " + f("file") + " [" + f("section") + "] " + f("key");
    if (f("key") == "(whole section)") return line + " deleted";
    line += f("value") == "(deleted)" ? " deleted" : " = " + quoted(f("value"));
    line += f("was") == "(none)" ? " (new)" : " (was " + quoted(f("was")) + ")";
    return f("result") == "written" ? line : line + " not written (" + f("result") + ")";
  }
  if (h.kind == "sleep") return "pause " + seconds(static_cast<DWORD>(std::stoul(f("ms"))));
  if (h.kind == "cursor") return "cursor: " + f("shape");
  if (h.kind == "patched" && f("line") == "(whole file)") return "rewrote " + f("file") + " in place";
  if (h.kind == "patched") {
    return "patched " + f("file") + " line " + f("line") + ": " + quoted(f("old")) + " -> " + quoted(f("new"));
  }
  if (h.kind == "repaint") return "repainted " + quoted(f("window"));
  if (h.kind == "event") return "the world: " + f("what");
  if (h.kind == "hide") return "hidden: " + quoted(f("window"));
  if (h.kind == "show") return "shown: " + quoted(f("window"));
  if (h.kind == "source list" && !f("queried").empty()) return "installation sources read: " + f("queried");
  if (h.kind == "source list") return "installation sources written: " + f("set");
  if (h.kind == "oem inf" && f("result") == "failed") return "SetupCopyOEMInfA " + f("inf") + " failed";
  if (h.kind == "oem inf") return "SetupCopyOEMInfA " + f("inf") + ": Windows keeps it as " + f("copy");
  if (h.kind == "dialog") {
    std::string out =
        "dialog " + f("dialog") + " " + quoted(f("caption")) + " (" + f("language") + ") shown: " + f("controls");
    if (!f("texts").empty()) out += "; texts " + f("texts");
    if (!f("focus").empty()) out += "; focus on " + f("focus");
    if (!f("systemMenu").empty()) out += "; system menu + " + f("systemMenu");
    return out;
  }
  if (h.kind == "dialog action") {
    return "dialog " + f("dialog") + ": " + f("action") + (f("note").empty() ? "" : " (" + f("note") + ")");
  }
  if (h.kind == "control") return "dialog " + f("dialog") + ": " + f("control") + " " + f("state");
  if (h.kind == "dialog end") {
    return "dialog " + f("dialog") + " ended" + (f("beforeShown").empty() ? "" : " before it was shown") + ": " +
           f("result");
  }
  if (h.kind == "dialog stuck") return "dialog " + f("dialog") + " left open by the script: ended as Cancel";
  if (h.kind == "icon drawn") return "dialog " + f("dialog") + ": icon drawn at " + f("x") + ", " + f("y");
  std::string out = h.kind;
  for (const auto& [k, v] : h.fields) out += " " + k + ": " + v;
  return out;
}

std::string line(DWORD at, const std::string& text) { return "[" + seconds(at) + "] " + text; }

// A line's text without its time.
std::string untimed(const TimelineLine& l) { return l.text.substr(l.text.find("] ") + 2); }

// A run that repeats itself (a prompt answered again and again, a loop of the program's) would
// bury the rest: a block of up to four lines that comes back at least three times in a row is
// kept once, followed by one line that says how often it came back and until when.
std::vector<TimelineLine> foldRepeats(std::vector<TimelineLine> lines) {
  constexpr std::size_t kLongestBlock = 4;
  constexpr std::size_t kFewestRepeats = 3;
  std::vector<TimelineLine> out;
  std::size_t i = 0;
  while (i < lines.size()) {
    std::size_t bestLength = 0;
    std::size_t bestTimes = 1;
    for (std::size_t length = 1; length <= kLongestBlock && i + 2 * length <= lines.size(); ++length) {
      std::size_t times = 1;
      while (i + (times + 1) * length <= lines.size()) {
        bool same = true;
        for (std::size_t k = 0; k < length && same; ++k) {
          same = untimed(lines[i + k]) == untimed(lines[i + times * length + k]);
        }
        if (!same) break;
        ++times;
      }
      if (times >= kFewestRepeats && times * length > bestTimes * bestLength) {
        bestLength = length;
        bestTimes = times;
      }
    }
    if (bestLength == 0) {
      out.push_back(std::move(lines[i++]));
      continue;
    }
    for (std::size_t k = 0; k < bestLength; ++k) out.push_back(lines[i + k]);
    const TimelineLine& first = lines[i + bestLength];
    const TimelineLine& last = lines[i + bestTimes * bestLength - 1];
    const std::string what = bestLength == 1 ? "the line above" : "the " + std::to_string(bestLength) + " lines above";
    out.push_back({first.happening, first.text.substr(0, first.text.find("] ") + 2) + "(" + what + " came back " +
                                        std::to_string(bestTimes - 1) + " more times, until " +
                                        last.text.substr(1, last.text.find(']') - 1) + ")"});
    i += bestTimes * bestLength;
  }
  return out;
}

}  // namespace

std::string seconds(DWORD ms) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%u.%03u s", ms / 1000, ms % 1000);
  return buf;
}

std::vector<std::string> timelineLines(const std::vector<Happening>& happenings) {
  std::vector<std::string> out;
  for (auto& l : timeline(happenings)) out.push_back(std::move(l.text));
  return out;
}

std::vector<TimelineLine> timeline(const std::vector<Happening>& happenings) {
  std::vector<TimelineLine> out;
  for (std::size_t i = 0; i < happenings.size(); ++i) {
    const Happening& h = happenings[i];
    if (h.kind != "sleep") {
      out.push_back({i, line(h.at, describe(h))});
      continue;
    }
    // A wait: sleeps of the same length, each followed by the same question, with the repaints
    // between them and what the world did meanwhile. A single sleep is a wait only when the same
    // question came before and after it; otherwise it is a pause.
    std::vector<const Happening*> world;
    std::size_t passes = 1;
    std::size_t repaints = 0;
    const std::string question = h.field("then");
    std::size_t j = i + 1;
    for (; j < happenings.size() && !question.empty(); ++j) {
      const Happening& n = happenings[j];
      if (n.kind == "sleep" && n.field("ms") == h.field("ms") && n.field("then") == question) {
        ++passes;
      } else if (n.kind == "repaint") {
        ++repaints;
      } else if (n.kind == "event" || n.kind == "ended") {
        world.push_back(&n);
      } else {
        break;
      }
    }
    if (question.empty() || (passes == 1 && h.field("after") != question)) {
      out.push_back({i, line(h.at, describe(h))});
      continue;
    }
    const DWORD each = static_cast<DWORD>(std::stoul(h.field("ms")));
    std::string text = "wait: " + std::to_string(passes) + (passes == 1 ? " pass of " : " passes of ") + seconds(each) +
                       " asking " + question + " (" + seconds(static_cast<DWORD>(passes) * each) + ")";
    if (repaints > 0) text += ", " + std::to_string(repaints) + " repaints";
    out.push_back({i, line(h.at, text)});
    // What the world did during the wait keeps its own time; what followed the last sleep (a
    // repaint, an event) stays with the wait too.
    for (const Happening* w : world)
      out.push_back({static_cast<std::size_t>(w - happenings.data()), line(w->at, describe(*w))});
    i = j - 1;
  }
  return foldRepeats(std::move(out));
}

}  // namespace tvx::sim
