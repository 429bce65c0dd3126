#include "MatrixDiff.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "BaseMachines.h"
#include "HtmlMatrix.h"
#include "HtmlPage.h"
#include "MatrixText.h"

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

std::string joined(const std::vector<std::string>& parts, const char* between) {
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : between) + p;
  return out;
}

// Lines only in one of two lists, each once, in its list's order.
std::vector<std::string> onlyIn(const std::vector<std::string>& these, const std::vector<std::string>& others) {
  const std::multiset<std::string> theirs(others.begin(), others.end());
  std::multiset<std::string> used;
  std::vector<std::string> out;
  for (const auto& line : these) {
    if (used.count(line) < theirs.count(line)) {
      used.insert(line);
      continue;
    }
    out.push_back(line);
  }
  return out;
}

std::vector<std::string> fileLines(const RunReport& r) {
  std::vector<std::string> out;
  for (const Change& c : r.files) {
    for (const auto& line : fileChangeLines(c))
      out.push_back(line.substr(0, 4) == "    " ? c.path + ": " + line.substr(4) : line);
  }
  return out;
}

std::vector<std::string> registryLines(const RunReport& r) {
  std::vector<std::string> out;
  for (const Change& c : r.registry) out.push_back(registryChangeLine(c));
  return out;
}

// "+ line" for what the new CD's run does and the old one's does not, "- line" the other way.
void listChanges(const std::string& what, const std::vector<std::string>& newer, const std::vector<std::string>& older,
                 std::vector<std::string>& out) {
  std::vector<std::string> lines;
  for (const auto& l : onlyIn(newer, older)) lines.push_back("+ " + l);
  for (const auto& l : onlyIn(older, newer)) lines.push_back("- " + l);
  if (!lines.empty()) out.push_back(what + ": " + joined(lines, "; "));
}

std::string restartWord(const MatrixRow& r) { return r.report.problem.empty() && r.report.restart ? "yes" : "no"; }

}  // namespace

std::size_t MatrixDiff::same() const {
  return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [](const RowChange& r) {
    return r.newer != nullptr && r.older != nullptr && r.differences.empty();
  }));
}

std::vector<std::string> rowDifferences(const MatrixRow& newer, const MatrixRow& older) {
  std::vector<std::string> out;
  if (newer.verdict() != older.verdict()) out.push_back("outcome: " + older.verdict() + " -> " + newer.verdict());
  if (newer.signOff.text() != older.signOff.text()) {
    out.push_back("sign-off: " + older.signOff.text() + " -> " + newer.signOff.text());
  }
  if (newer.seen != older.seen) {
    out.push_back("seen: " + (older.seen.empty() ? "nothing" : joined(older.seen, "; ")) + " -> " +
                  (newer.seen.empty() ? "nothing" : joined(newer.seen, "; ")));
  }
  listChanges("files", fileLines(newer.report), fileLines(older.report), out);
  // A file placed under the same name with other content: the change lines are the same, the file is not.
  std::map<std::string, const Change*> was;
  for (const Change& c : older.report.files) was[c.path] = &c;
  std::vector<std::string> content;
  for (const Change& c : newer.report.files) {
    auto it = was.find(c.path);
    if (it == was.end() || it->second->what != c.what || it->second->content == c.content) continue;
    content.push_back(c.path + " (" + std::to_string(c.content.size()) + " bytes, was " +
                      std::to_string(it->second->content.size()) + ")");
  }
  if (!content.empty()) out.push_back("placed with other content: " + joined(content, "; "));
  listChanges("registry", registryLines(newer.report), registryLines(older.report), out);
  if (restartWord(newer) != restartWord(older))
    out.push_back("restart: " + restartWord(older) + " -> " + restartWord(newer));
  return out;
}

MatrixDiff diffMatrices(Matrix newer, Matrix older) {
  MatrixDiff diff{std::move(newer), std::move(older), {}};
  std::map<std::pair<std::string, std::string>, const MatrixRow*> old;
  for (const MatrixRow& r : diff.older.rows) old[{r.version, r.path.label}] = &r;
  std::set<const MatrixRow*> paired;
  for (const MatrixRow& r : diff.newer.rows) {
    RowChange change{r.version, r.path.label, &r, nullptr, {}};
    auto it = old.find({r.version, r.path.label});
    if (it == old.end()) {
      change.differences.push_back("a path only the new CD has");
    } else {
      change.older = it->second;
      paired.insert(it->second);
      change.differences = rowDifferences(r, *it->second);
    }
    diff.rows.push_back(std::move(change));
  }
  for (const MatrixRow& r : diff.older.rows) {
    if (!paired.count(&r))
      diff.rows.push_back(RowChange{r.version, r.path.label, nullptr, &r, {"a path only the old CD has"}});
  }
  return diff;
}

std::string matrixDiffText(const MatrixDiff& d) {
  std::string out =
      "Matrix of " + d.newer.cd + " (" + d.newer.kind + ") against " + d.older.cd + " (" + d.older.kind + ")\n";
  for (const RowChange& r : d.rows) {
    if (r.differences.empty()) continue;
    out += "\n" + versionTitle(r.version) + ", " + r.label + ":\n";
    for (const auto& line : r.differences) out += "  " + line + "\n";
  }
  // The rows that are the same, summed up in one line: how many, on which Windows versions.
  std::vector<std::string> versions;
  for (const RowChange& r : d.rows) {
    if (!r.differences.empty() || std::find(versions.begin(), versions.end(), r.version) != versions.end()) continue;
    versions.push_back(r.version);
  }
  std::vector<std::string> titles;
  for (const auto& v : versions) titles.push_back(versionTitle(v));
  out += "\n" + std::to_string(d.same()) + " of " + std::to_string(d.rows.size()) + " rows the same" +
         (titles.empty() ? std::string() : " (on " + joined(titles, ", ") + ")") + "; " +
         std::to_string(d.rows.size() - d.same()) + " differ\n";
  if (!d.newer.keptIn.empty()) {
    out +=
        "\nThe failing rows' machine folders are kept in " + d.newer.keptIn + " (tvxsim run FOLDER runs one again).\n";
  }
  return out + "\n" + matrixSignOff(d.newer) + "\n";
}

std::string matrixDiffJson(const MatrixDiff& d) {
  std::string out =
      "{\n  \"new\": " + jsonString(d.newer.cd) + ",\n  \"old\": " + jsonString(d.older.cd) + ",\n  \"rows\": [";
  for (std::size_t i = 0; i < d.rows.size(); ++i) {
    const RowChange& r = d.rows[i];
    std::string differences;
    for (const auto& line : r.differences) differences += (differences.empty() ? "" : ", ") + jsonString(line);
    out += (i ? "," : "") + std::string("\n    {\"windows\": ") + jsonString(versionTitle(r.version)) +
           ", \"os\": " + jsonString(r.version) + ", \"path\": " + jsonString(r.label) +
           ", \"same\": " + (r.differences.empty() ? "true" : "false") + ", \"differences\": [" + differences + "]}";
  }
  out += "\n  ],\n  \"same\": " + std::to_string(d.same()) + ",\n  \"failing\": " + std::to_string(d.newer.failing()) +
         ",\n  \"signedOff\": " + (d.newer.signedOff() ? "true" : "false") +
         ",\n  \"signOff\": " + jsonString(matrixSignOff(d.newer)) + "\n}\n";
  return out;
}

void writeMatrixDiffHtml(const MatrixDiff& d, const fs::path& dir) {
  writeMatrixHtml(d.newer, dir / "new");
  writeMatrixHtml(d.older, dir / "old");
  std::string body = "<h1>" + htmlEscape(d.newer.cd) + " against " + htmlEscape(d.older.cd) + "</h1>\n";
  body += "<div class=\"verdict " + std::string(d.newer.signedOff() ? "complete" : "incomplete") +
          "\" id=\"verdict\"><p>" + htmlEscape(matrixSignOff(d.newer)) + "</p><p class=\"counts\">" +
          std::to_string(d.same()) + " of " + std::to_string(d.rows.size()) + " rows the same</p></div>\n";
  body +=
      "<table class=\"matrix\">\n<thead><tr><th>Windows</th><th>Path</th><th>What differs</th><th>Runs</th></tr>"
      "</thead>\n<tbody>\n";
  // The differing rows first, then the same ones.
  for (const bool differing : {true, false}) {
    for (const RowChange& r : d.rows) {
      if (r.differences.empty() == differing) continue;
      std::string what;
      for (const auto& line : r.differences) what += "<li>" + htmlEscape(line) + "</li>";
      std::string links;
      if (r.newer != nullptr) links += "<a href=\"new/" + htmlEscape(matrixPageName(*r.newer)) + "\">new</a> ";
      if (r.older != nullptr) links += "<a href=\"old/" + htmlEscape(matrixPageName(*r.older)) + "\">old</a>";
      body += "<tr class=\"row" + std::string(differing ? " differs" : "") + "\"><td class=\"nowrap\">" +
              htmlEscape(versionTitle(r.version)) + "</td><td>" + htmlEscape(r.label) + "</td><td>" +
              (what.empty() ? "the same" : "<ul>" + what + "</ul>") + "</td><td class=\"nowrap\">" + links +
              "</td></tr>\n";
    }
  }
  body += "</tbody>\n</table>\n";
  std::ofstream page(dir / "index.html", std::ios::binary);
  page << htmlPage(d.newer.cd + " against " + d.older.cd, body);
  if (!page) throw std::runtime_error("cannot write " + (dir / "index.html").string());
}

}  // namespace tvx::sim
