#include "Report.h"

#include <cstdio>

namespace tvx::sim {

namespace {

std::string seconds(DWORD ms) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%u.%03u s", ms / 1000, ms % 1000);
  return buf;
}

std::string describe(const Happening& h) {
  if (h.kind == "message") {
    return "message \"" + h.field("text") + "\", caption \"" + h.field("caption") + "\", owner " + h.field("owner") +
           ", buttons " + h.field("buttons") + " -> " + h.field("answer");
  }
  if (h.kind == "start") return "started " + h.field("command line") + " (" + h.field("how") + ")";
  if (h.kind == "start failed") return "could not start " + h.field("command line") + " (" + h.field("how") + ")";
  if (h.kind == "ended") return "program ended: " + h.field("program") + ", exit code " + h.field("exit code");
  if (h.kind == "close") return "WM_CLOSE to \"" + h.field("window") + "\": " + h.field("result");
  if (h.kind == "restart") return "restart requested (ExitWindowsEx flags " + h.field("flags") + ")";
  if (h.kind == "exit" && !h.field("how").empty())
    return "program ended (" + h.field("how") + "), exit code " + h.field("code");
  if (h.kind == "exit") return "process exit, code " + h.field("code");
  if (h.kind == "directory") return "current directory set to " + h.field("current");
  std::string out = h.kind;
  for (const auto& [k, v] : h.fields) out += " " + k + ": " + v;
  return out;
}

std::string json(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof(buf), "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string changesJson(const std::vector<Change>& changes) {
  std::string out = "[";
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const Change& c = changes[i];
    out += (i ? "," : "") + std::string("\n    {\"change\": ") + json(c.what) + ", \"path\": " + json(c.path);
    if (!c.detail.empty()) out += ", \"detail\": " + json(c.detail);
    if (!c.entries.empty()) {
      out += ", \"entries\": [";
      for (std::size_t j = 0; j < c.entries.size(); ++j) out += (j ? ", " : "") + json(c.entries[j]);
      out += "]";
    }
    out += "}";
  }
  return out + (changes.empty() ? "]" : "\n  ]");
}

}  // namespace

std::string reportText(const RunReport& r) {
  std::string out = "Machine " + r.machineName + " (" + r.os + "), command line: " + r.commandLine + "\n";
  out += "\nWhat happened:\n";
  if (r.happenings.empty()) out += "  nothing\n";
  for (const auto& h : r.happenings) out += "  [" + seconds(h.at) + "] " + describe(h) + "\n";
  out += "\nFiles:\n";
  if (r.files.empty()) out += "  no change\n";
  for (const auto& c : r.files) {
    out += "  " + c.what + " " + c.path + (c.detail.empty() ? "" : " (" + c.detail + ")") + "\n";
    for (const auto& e : c.entries) out += "      " + e + "\n";
  }
  out += "\nRegistry:\n";
  if (r.registry.empty()) out += "  no change\n";
  for (const auto& c : r.registry) {
    out += "  " + c.what + " " + c.path + (c.detail.empty() ? "" : ": " + c.detail) + "\n";
  }
  for (const auto& l : r.leaks) out += "\nLeft open: " + l + "\n";
  out += "\nRestart: " + std::string(r.restart ? "requested" : "not requested") + "\n";
  out += "Exit code: " + (r.exitCode ? std::to_string(*r.exitCode) : std::string("none")) + "\n";
  out += "Virtual time: " + seconds(r.virtualTime) + "\n";
  return out;
}

std::string reportJson(const RunReport& r) {
  std::string out = "{\n  \"machine\": " + json(r.machineName) + ",\n  \"os\": " + json(r.os) +
                    ",\n  \"commandLine\": " + json(r.commandLine) + ",\n  \"happenings\": [";
  for (std::size_t i = 0; i < r.happenings.size(); ++i) {
    const Happening& h = r.happenings[i];
    out += (i ? "," : "") + std::string("\n    {\"timeMs\": ") + std::to_string(h.at) + ", \"kind\": " + json(h.kind);
    for (const auto& [k, v] : h.fields) out += ", " + json(k) + ": " + json(v);
    out += "}";
  }
  out += r.happenings.empty() ? "]" : "\n  ]";
  out += ",\n  \"files\": " + changesJson(r.files) + ",\n  \"registry\": " + changesJson(r.registry);
  out += ",\n  \"leftOpen\": [";
  for (std::size_t i = 0; i < r.leaks.size(); ++i) out += (i ? ", " : "") + json(r.leaks[i]);
  out += "],\n  \"restart\": " + std::string(r.restart ? "true" : "false");
  out += ",\n  \"exitCode\": " + (r.exitCode ? std::to_string(*r.exitCode) : std::string("null"));
  out += ",\n  \"virtualTimeMs\": " + std::to_string(r.virtualTime) + "\n}\n";
  return out;
}

}  // namespace tvx::sim
