#include "HtmlMatrix.h"

#include <fstream>

#include "BaseMachines.h"
#include "HtmlPage.h"
#include "HtmlReport.h"
#include "MatrixText.h"
#include "Timeline.h"

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

// The verdict word of a row, as the JSON rows give it.
std::string verdictWord(const MatrixRow& r) {
  if (!r.report.problem.empty()) return r.report.problem.substr(0, r.report.problem.find(':'));
  return r.report.outcome ? r.report.outcome->word() : "";
}

std::string rowTitle(const MatrixRow& r) { return versionTitle(r.version) + ", " + r.path.label; }

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::string matrixPageName(const MatrixRow& row) { return fs::path(row.machineFolder).filename().string() + ".html"; }

std::string htmlMatrixIndex(const Matrix& m) {
  std::string body = "<h1>Matrix of " + htmlEscape(m.cd) + " (" + htmlEscape(m.kind) + ")</h1>\n";
  const std::string counts = matrixCounts(m);
  body += "<div class=\"verdict " + std::string(m.failing() > 0 ? "incomplete" : "complete") +
          "\" id=\"verdict\" data-failing=\"" + std::to_string(m.failing()) + "\"><p>" + htmlEscape(matrixSignOff(m)) +
          "</p><p class=\"counts\">" + htmlEscape(counts) + "</p></div>\n";
  body +=
      "<table class=\"matrix\">\n<thead><tr><th>Windows</th><th>Path</th><th>Restart</th><th>Time</th>"
      "<th>Sign-off</th><th>Outcome</th><th>Seen</th></tr></thead>\n<tbody>\n";
  for (const MatrixRow& r : m.rows) {
    const bool ended = r.report.problem.empty();
    std::string seen;
    for (const auto& s : r.seen) seen += (seen.empty() ? "" : "; ") + htmlEscape(s);
    body += "<tr class=\"row" + std::string(r.failing() ? " failing" : "") + "\" data-os=\"" + htmlEscape(r.version) +
            "\" data-verdict=\"" + htmlEscape(verdictWord(r)) + "\" data-signoff=\"" + htmlEscape(r.signOff.word()) +
            "\"><td class=\"nowrap\">" + htmlEscape(versionTitle(r.version)) + "</td><td><a href=\"" +
            htmlEscape(matrixPageName(r)) + "\">" + htmlEscape(r.path.label) + "</a></td><td>" +
            (ended && r.report.restart ? "yes" : "no") + "</td><td class=\"nowrap\">" +
            (ended ? seconds(r.report.virtualTime) : "-") + "</td><td class=\"signoff\" title=\"" +
            htmlEscape(r.signOff.reason) + "\">" + htmlEscape(r.signOff.word()) + "</td><td class=\"verdict-cell\">" +
            (r.failing() ? "&#x2716; " : "") + htmlEscape(r.verdict()) + "</td><td class=\"seen\">" +
            (seen.empty() ? "nothing" : seen) + "</td></tr>\n";
  }
  body += "</tbody>\n</table>\n";
  if (m.failing() > 0) {
    body += "<h2 id=\"failing\">The rows that fail the sign-off</h2>\n<ul>\n";
    for (const MatrixRow& r : m.rows) {
      if (!r.failing()) continue;
      body += "<li><a href=\"" + htmlEscape(matrixPageName(r)) + "\">" + htmlEscape(rowTitle(r)) + "</a> (" +
              htmlEscape(r.machineFolder) + "): " + htmlEscape(r.signOff.reason) + "</li>\n";
    }
    body += "</ul>\n";
  }
  return htmlPage("Matrix of " + m.cd + ": " + (m.failing() > 0 ? "NOT signed off" : "signed off"), body);
}

void writeMatrixHtml(const Matrix& m, const fs::path& dir) {
  fs::create_directories(dir);
  writeFile(dir / "index.html", htmlMatrixIndex(m));
  for (const MatrixRow& r : m.rows) {
    RunReport report = r.report;
    if (report.machineName.empty()) report.machineName = fs::path(r.machineFolder).filename().string();
    writeFile(dir / matrixPageName(r), htmlRunPage(report, RunPageOptions{rowTitle(r), "index.html", r.signOff}));
  }
}

}  // namespace tvx::sim
