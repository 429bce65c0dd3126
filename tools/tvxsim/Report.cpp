#include "Report.h"

#include <cstdio>

#include "Timeline.h"

namespace tvx::sim {

std::string jsonString(const std::string& text) {
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

namespace {

std::string listText(const std::vector<std::string>& entries) {
  std::string out;
  for (const auto& e : entries) out += (out.empty() ? "" : "; ") + e;
  return out.empty() ? "(none)" : out;
}

std::string stringsJson(const std::vector<std::string>& entries) {
  std::string out = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) out += (i ? ", " : "") + jsonString(entries[i]);
  return out + "]";
}

std::string changesJson(const std::vector<Change>& changes) {
  std::string out = "[";
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const Change& c = changes[i];
    out +=
        (i ? "," : "") + std::string("\n    {\"change\": ") + jsonString(c.what) + ", \"path\": " + jsonString(c.path);
    if (!c.detail.empty()) out += ", \"detail\": " + jsonString(c.detail);
    if (!c.entries.empty()) out += ", \"entries\": " + stringsJson(c.entries);
    if (!c.lines.empty()) out += ", \"lines\": " + stringsJson(c.lines);
    out += "}";
  }
  return out + (changes.empty() ? "]" : "\n  ]");
}

}  // namespace

std::vector<std::string> fileChangeLines(const Change& c) {
  std::vector<std::string> out{c.what + " " + c.path + (c.detail.empty() ? "" : " (" + c.detail + ")")};
  for (const auto& e : c.entries) out.push_back("    " + e);
  for (const auto& l : c.lines) out.push_back("    " + l);
  return out;
}

std::string registryChangeLine(const Change& c) {
  return c.what + " " + c.path + (c.detail.empty() ? "" : ": " + c.detail);
}

std::string reportText(const RunReport& r) {
  std::string out = "Machine " + r.machineName + " (" + r.os + "), command line: " + r.commandLine + "\n";
  out += "\nWhat happened:\n";
  if (r.happenings.empty()) out += "  nothing\n";
  for (const auto& l : timelineLines(r.happenings)) out += "  " + l + "\n";
  out += "\nFiles:\n";
  if (r.files.empty()) out += "  no change\n";
  for (const auto& c : r.files) {
    for (const auto& l : fileChangeLines(c)) out += "  " + l + "\n";
  }
  out += "\nRegistry:\n";
  if (r.registry.empty()) out += "  no change\n";
  for (const auto& c : r.registry) out += "  " + registryChangeLine(c) + "\n";
  if (r.sourcesBefore != r.sourcesAfter) {
    out += "\nInstallation sources:\n  before: " + listText(r.sourcesBefore) +
           "\n  after:  " + listText(r.sourcesAfter) + "\n";
  }
  for (const auto& l : r.leaks) out += "\nLeft open: " + l + "\n";
  out += "\nRestart: " + std::string(r.restart ? "requested" : "not requested") + "\n";
  out += "Exit code: " + (r.exitCode ? std::to_string(*r.exitCode) : std::string("none")) + "\n";
  out += "Virtual time: " + seconds(r.virtualTime) + "\n";
  if (!r.problem.empty()) out += "\nThe run did not end: " + r.problem + "\n";
  if (r.outcome) out += "\noutcome: " + r.outcome->text() + "\n";
  if (r.signOff) out += "sign-off: " + r.signOff->text() + "\n";
  return out;
}

std::string reportJson(const RunReport& r) {
  std::string out = "{\n  \"machine\": " + jsonString(r.machineName) + ",\n  \"os\": " + jsonString(r.os) +
                    ",\n  \"commandLine\": " + jsonString(r.commandLine) + ",\n  \"happenings\": [";
  for (std::size_t i = 0; i < r.happenings.size(); ++i) {
    const Happening& h = r.happenings[i];
    out += (i ? "," : "") + std::string("\n    {\"timeMs\": ") + std::to_string(h.at) +
           ", \"kind\": " + jsonString(h.kind);
    for (const auto& [k, v] : h.fields) out += ", " + jsonString(k) + ": " + jsonString(v);
    out += "}";
  }
  out += r.happenings.empty() ? "]" : "\n  ]";
  out += ",\n  \"files\": " + changesJson(r.files) + ",\n  \"registry\": " + changesJson(r.registry);
  out += ",\n  \"installationSources\": {\"before\": " + stringsJson(r.sourcesBefore) +
         ", \"after\": " + stringsJson(r.sourcesAfter) + "}";
  out += ",\n  \"leftOpen\": [";
  for (std::size_t i = 0; i < r.leaks.size(); ++i) out += (i ? ", " : "") + jsonString(r.leaks[i]);
  out += "],\n  \"restart\": " + std::string(r.restart ? "true" : "false");
  out += ",\n  \"exitCode\": " + (r.exitCode ? std::to_string(*r.exitCode) : std::string("null"));
  out += ",\n  \"virtualTimeMs\": " + std::to_string(r.virtualTime);
  if (r.outcome) {
    out += ",\n  \"outcome\": {\"verdict\": " + jsonString(r.outcome->word()) +
           ", \"text\": " + jsonString(r.outcome->text()) + ", \"summary\": " + jsonString(r.outcome->summary) +
           ", \"missing\": " + stringsJson(r.outcome->missing) + ", \"cdFault\": " + jsonString(r.outcome->cdFault) +
           "}";
  }
  if (!r.problem.empty()) out += ",\n  \"problem\": " + jsonString(r.problem);
  if (r.signOff) {
    out += ",\n  \"signOff\": {\"verdict\": " + jsonString(r.signOff->word()) +
           ", \"reason\": " + jsonString(r.signOff->reason) + "}";
  }
  out += "\n}\n";
  return out;
}

}  // namespace tvx::sim
