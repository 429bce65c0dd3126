#include "MatrixText.h"

#include <algorithm>

#include "BaseMachines.h"
#include "Timeline.h"

namespace tvx::sim {

namespace {

std::string padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::string matrixText(const Matrix& m) {
  std::string out = "Matrix of " + m.cd + " (" + m.kind + ")\n\n";
  std::size_t pathWidth = 4;
  for (const auto& r : m.rows) pathWidth = std::max(pathWidth, r.path.label.size());
  out += padded("Windows", 15) + padded("Path", pathWidth + 2) + padded("Restart", 9) + padded("Time", 10) +
         padded("Sign-off", 12) + "Outcome; seen\n";
  for (const auto& r : m.rows) {
    const bool ended = r.report.problem.empty();
    std::string verdict = r.verdict();
    if (r.report.outcome && r.report.outcome->verdict == Outcome::Verdict::Incomplete) verdict = "INCOMPLETE (below)";
    out += padded(versionTitle(r.version), 15) + padded(r.path.label, pathWidth + 2) +
           padded(ended && r.report.restart ? "yes" : "no", 9) +
           padded(ended ? seconds(r.report.virtualTime) : "-", 10) + padded(r.signOff.word(), 12) + verdict + "\n";
    std::string seen;
    for (const auto& s : r.seen) seen += (seen.empty() ? "" : "; ") + s;
    out += std::string(15 + pathWidth + 2 + 19 + 12, ' ') + "seen: " + (seen.empty() ? "nothing" : seen) + "\n";
  }
  out += "\n" + matrixCounts(m) + "\n";
  for (const auto& r : m.rows) {
    if (!r.failing()) continue;
    out +=
        "\n" + versionTitle(r.version) + ", " + r.path.label + " (" + r.machineFolder + "):\n  " + r.verdict() + "\n";
    if (r.signOff.reason != r.verdict()) out += "  fails the sign-off: " + r.signOff.reason + "\n";
  }
  if (m.mastering && !m.mastering->madeFrom.empty()) {
    out += "\nThe disc as Windows reads it, against " + m.mastering->madeFrom + ":\n";
    const auto& listed = m.mastering->differences.empty() && !m.mastering->lost.empty() ? std::vector<std::string>()
                                                                                        : m.mastering->differences;
    for (const auto& d : listed) out += "  " + d + "\n";
    if (m.mastering->differences.empty()) {
      for (const auto& [path, words] : m.mastering->lost) out += "  " + words + "\n";
    }
    if (m.mastering->differences.empty() && m.mastering->lost.empty()) out += "  the same names and contents\n";
  }
  if (!m.keptIn.empty())
    out += "\nThe failing rows' machine folders are kept in " + m.keptIn + " (tvxsim run FOLDER runs one again).\n";
  return out + "\n" + matrixSignOff(m) + "\n";
}

std::string matrixSignOff(const Matrix& m) {
  const std::size_t failing = m.failing();
  std::string served;
  if (!m.without.empty()) {
    for (const auto& v : m.without) served += (served.empty() ? "" : ", ") + versionTitle(v);
    served = " (not served: " + served + ")";
  }
  const std::string what = m.kind.rfind("download", 0) == 0 ? "download" : "CD";
  std::string image;
  if (m.mastering && !m.mastering->differences.empty()) {
    image = "the image differs from " + m.mastering->madeFrom + " in " +
            std::to_string(m.mastering->differences.size()) +
            (m.mastering->differences.size() == 1 ? " file: " : " files, first: ") + m.mastering->differences.front();
  }
  if (failing == 0 && image.empty()) {
    return "signed off: every path this " + what + " serves ends as the person is told" + served;
  }
  if (failing == 0) return "NOT signed off: " + image + served;
  // The reasons in the order the rows first give them, each with its rows.
  std::vector<std::pair<std::string, std::vector<const MatrixRow*>>> reasons;
  for (const auto& r : m.rows) {
    if (!r.failing()) continue;
    auto it = std::find_if(reasons.begin(), reasons.end(), [&](const auto& p) { return p.first == r.signOff.reason; });
    if (it == reasons.end()) {
      reasons.push_back({r.signOff.reason, {}});
      it = std::prev(reasons.end());
    }
    it->second.push_back(&r);
  }
  std::string out =
      "NOT signed off: " + std::to_string(failing) + " of " + std::to_string(m.rows.size()) + " rows fail";
  for (const auto& [reason, rows] : reasons) {
    std::string which;
    if (rows.size() <= 3) {
      for (const MatrixRow* r : rows)
        which += (which.empty() ? "" : "; ") + versionTitle(r->version) + ", " + r->path.label;
    } else {
      std::vector<std::string> versions;
      for (const MatrixRow* r : rows) {
        if (std::find(versions.begin(), versions.end(), r->version) == versions.end()) versions.push_back(r->version);
      }
      which = std::to_string(rows.size()) + " rows on ";
      for (std::size_t i = 0; i < versions.size(); ++i) which += (i ? ", " : "") + versionTitle(versions[i]);
    }
    out += "; " + reason + " (" + which + ")";
  }
  if (!image.empty()) out += "; " + image;
  return out + served;
}

std::string matrixCounts(const Matrix& m) {
  std::size_t complete = 0, nothing = 0, failed = 0, incomplete = 0, problems = 0;
  for (const auto& r : m.rows) {
    if (!r.report.problem.empty()) {
      ++problems;
    } else if (r.report.outcome) {
      switch (r.report.outcome->verdict) {
        case Outcome::Verdict::Complete:
          ++complete;
          break;
        case Outcome::Verdict::NothingInstalled:
          ++nothing;
          break;
        case Outcome::Verdict::Failed:
          ++failed;
          break;
        case Outcome::Verdict::Incomplete:
          ++incomplete;
          break;
      }
    }
  }
  return std::to_string(m.rows.size()) + " runs: " + std::to_string(complete) + " complete, " +
         std::to_string(nothing) + " nothing installed, " + std::to_string(failed) + " failed (the person told), " +
         std::to_string(incomplete) + " INCOMPLETE, " + std::to_string(problems) + " crashed or hung";
}

std::string matrixJson(const Matrix& m) {
  std::string out = "{\n  \"cd\": " + jsonString(m.cd) + ",\n  \"kind\": " + jsonString(m.kind) + ",\n  \"rows\": [";
  for (std::size_t i = 0; i < m.rows.size(); ++i) {
    const MatrixRow& r = m.rows[i];
    const bool ended = r.report.problem.empty();
    out += (i ? "," : "") + std::string("\n    {\"windows\": ") + jsonString(versionTitle(r.version)) +
           ", \"os\": " + jsonString(r.version) + ", \"path\": " + jsonString(r.path.label) +
           ", \"commandLine\": " + jsonString(r.report.commandLine) + ", \"machine\": " + jsonString(r.machineFolder) +
           ", \"seen\": [";
    for (std::size_t s = 0; s < r.seen.size(); ++s) out += (s ? ", " : "") + jsonString(r.seen[s]);
    out += "], \"verdict\": " +
           jsonString(!ended ? r.report.problem.substr(0, r.report.problem.find(':'))
                             : (r.report.outcome ? r.report.outcome->word() : "")) +
           ", \"outcome\": " + jsonString(r.verdict()) + ", \"signOff\": " + jsonString(r.signOff.word()) +
           ", \"signOffReason\": " + jsonString(r.signOff.reason) +
           ", \"restart\": " + (ended && r.report.restart ? "true" : "false") +
           ", \"virtualTimeMs\": " + std::to_string(ended ? r.report.virtualTime : 0) + "}";
  }
  out += "\n  ],\n  \"without\": [";
  for (std::size_t i = 0; i < m.without.size(); ++i) out += (i ? ", " : "") + jsonString(m.without[i]);
  out += "],\n  \"failing\": " + std::to_string(m.failing());
  if (m.mastering) {
    const Mastering& d = *m.mastering;
    std::string lost;
    for (const auto& [path, words] : d.lost) lost += (lost.empty() ? "" : ", ") + jsonString(words);
    std::string differences;
    for (const auto& text : d.differences) differences += (differences.empty() ? "" : ", ") + jsonString(text);
    out += ",\n  \"image\": {\"label\": " + jsonString(d.disc.label) +
           ", \"joliet\": " + (d.disc.joliet ? "true" : "false") + ", \"madeFrom\": " + jsonString(d.madeFrom) +
           ", \"lost\": [" + lost + "], \"differences\": [" + differences + "]}";
  }
  out += ",\n  \"signedOff\": " + std::string(m.signedOff() ? "true" : "false") +
         ",\n  \"signOff\": " + jsonString(matrixSignOff(m)) + "\n}\n";
  return out;
}

}  // namespace tvx::sim
