#include "HtmlReport.h"

#include <map>

#include "../../src/platform/sim/Simulator.h"
#include "DialogSteps.h"
#include "HtmlDialog.h"
#include "HtmlMessageBox.h"
#include "HtmlPage.h"
#include "Timeline.h"

namespace tvx::sim {

namespace {

std::string stepsHtml(const DialogEpisode& e) {
  if (e.steps.empty()) return "";
  std::string out = "<ol class=\"steps\">";
  for (const DialogStep& s : e.steps) {
    out += "<li>" + htmlEscape(s.action);
    for (std::size_t i = 0; i < s.effects.size(); ++i) out += (i ? ", " : ": ") + htmlEscape(s.effects[i]);
    out += "</li>";
  }
  return out + "</ol>";
}

std::string unitsHtml(const DialogTemplate& t) {
  const DialogBaseUnits u = dialogBaseUnits(t.pointSize);
  return "font \"" + htmlEscape(t.font) + "\" " + std::to_string(t.pointSize) + " pt, base units " +
         std::to_string(u.cx) + " &times; " + std::to_string(u.cy) + " px";
}

// The dialog as it appeared, its steps marked; or as it ended.
std::string dialogFigure(const DialogEpisode& e, const Happening& shown, bool atEnd) {
  const std::optional<DialogTemplate> t = programDialog(e.templateId, e.language);
  const std::string name = "dialog " + std::to_string(e.templateId) + " &ldquo;" + htmlEscape(e.caption) + "&rdquo;";
  if (!t) return "<p>" + name + ": no such template in the program's resources</p>\n";
  DialogPicture p;
  p.dialog = &*t;
  p.templateId = e.templateId;
  p.language = e.language;
  p.id = "dialog-" + std::to_string(e.shownAt) + (atEnd ? "-end" : "");
  if (atEnd) {
    p.states = e.ended;
    p.captionHtml = name + " as it ended: <b>" + htmlEscape(e.result) + "</b>";
  } else {
    p.states = e.shown;
    p.focus = e.focus;
    p.steps = e.steps;
    p.captionHtml = name + " as it appeared (" + htmlEscape(shown.field("language")) + "; " + unitsHtml(*t) + ")";
    if (!e.steps.empty()) p.captionHtml += "; the steps taken in it:" + stepsHtml(e);
    if (!e.endedAt) p.captionHtml += "<br>still open when the run stopped";
  }
  return drawDialog(p);
}

std::string section(const std::string& id, const std::string& title, const std::string& body) {
  return "<h2 id=\"" + id + "\">" + title + "</h2>\n" + body;
}

std::string changesHtml(const std::vector<std::string>& lines) {
  if (lines.empty()) return "<p>no change</p>\n";
  std::string out = "<pre class=\"changes\">";
  for (const std::string& l : lines) {
    const std::string escaped = htmlEscape(l);
    if (l.rfind("    - ", 0) == 0) {
      out += "<span class=\"removed\">" + escaped + "</span>\n";
    } else if (l.rfind("    + ", 0) == 0) {
      out += "<span class=\"added\">" + escaped + "</span>\n";
    } else {
      out += escaped + "\n";
    }
  }
  return out + "</pre>\n";
}

std::string listHtml(const std::vector<std::string>& entries) {
  if (entries.empty()) return "(none)";
  std::string out;
  for (const auto& e : entries) out += (out.empty() ? "<code>" : "; <code>") + htmlEscape(e) + "</code>";
  return out;
}

}  // namespace

std::string verdictClass(const std::string& verdict) {
  if (verdict == "INCOMPLETE") return "incomplete";
  if (verdict == "nothing installed") return "nothing-installed";
  return verdict;
}

std::string htmlRunPage(const RunReport& r, const RunPageOptions& o) {
  std::string body;
  if (!o.backLink.empty()) body += "<nav><a href=\"" + htmlEscape(o.backLink) + "\">&larr; the matrix</a></nav>\n";
  body += "<h1>" + htmlEscape(o.heading.empty() ? "tvxsim run " + r.machineName : o.heading) + "</h1>\n";

  // The verdict first: what a reviewer opens the page for.
  std::string verdict;
  std::string verdictText;
  if (!r.problem.empty()) {
    verdict = r.problem.substr(0, r.problem.find(':'));
    verdictText = r.problem;
  } else if (r.outcome) {
    verdict = r.outcome->word();
    verdictText = "outcome: " + r.outcome->text();
  } else {
    verdict = "none";
    verdictText = "no outcome (a Windows start has none)";
  }
  // A run that fails its sign-off is red, whatever its outcome: the CD let the person down.
  const std::optional<SignOff> signOff = o.signOff ? o.signOff : r.signOff;
  const bool fails = signOff && signOff->verdict == SignOff::Verdict::Fails;
  body += "<div class=\"verdict " + (fails ? std::string("incomplete") : verdictClass(verdict)) +
          "\" id=\"verdict\" data-verdict=\"" + htmlEscape(verdict) + "\"><p>" + htmlEscape(verdictText) + "</p>";
  if (signOff) {
    body += "<p class=\"signoff\" id=\"sign-off\" data-signoff=\"" + htmlEscape(signOff->word()) +
            "\">sign-off: " + htmlEscape(signOff->text()) + "</p>";
  }
  body += "</div>\n";
  body += "<p class=\"machine\">Machine <code>" + htmlEscape(r.machineName) + "</code> (" + htmlEscape(r.os) +
          "), command line: <code>" + htmlEscape(r.commandLine) + "</code></p>\n";
  body += "<ul class=\"facts\"><li>Restart: " + std::string(r.restart ? "requested" : "not requested") +
          "</li><li>Exit code: " + (r.exitCode ? std::to_string(*r.exitCode) : std::string("none")) +
          "</li><li>Virtual time: " + seconds(r.virtualTime) + "</li></ul>\n";
  body += "<nav><a href=\"#happened\">What happened</a><a href=\"#files\">Files (" + std::to_string(r.files.size()) +
          ")</a><a href=\"#registry\">Registry (" + std::to_string(r.registry.size()) + ")</a></nav>\n";

  // The timeline, with each dialog drawn where it appeared and where it ended, each message box
  // where it was shown, and each step's number on its line.
  const std::vector<DialogEpisode> episodes = dialogEpisodes(r.happenings);
  std::map<std::size_t, const DialogEpisode*> shownAt;
  std::map<std::size_t, const DialogEpisode*> endedAt;
  std::map<std::size_t, std::size_t> stepAt;
  for (const DialogEpisode& e : episodes) {
    shownAt[e.shownAt] = &e;
    if (e.endedAt && e.changed()) endedAt[*e.endedAt] = &e;
    for (std::size_t n = 0; n < e.steps.size(); ++n) stepAt[e.steps[n].happening] = n + 1;
  }
  std::string lines;
  for (const TimelineLine& l : timeline(r.happenings)) {
    const Happening& h = r.happenings[l.happening];
    const bool seen = h.kind == "message" || shownAt.count(l.happening) != 0;
    lines += std::string("<li") + (seen ? " class=\"seen\"" : "") + ">";
    if (auto step = stepAt.find(l.happening); step != stepAt.end()) {
      lines += "<span class=\"mark\" data-step=\"" + std::to_string(step->second) + "\">" +
               std::to_string(step->second) + "</span> ";
    }
    lines += htmlEscape(l.text) + "</li>\n";
    if (auto e = shownAt.find(l.happening); e != shownAt.end()) {
      lines += "<li class=\"drawing\"><div class=\"shots\">" + dialogFigure(*e->second, h, false) + "</div></li>\n";
    } else if (auto end = endedAt.find(l.happening); end != endedAt.end()) {
      lines += "<li class=\"drawing\"><div class=\"shots\">" +
               dialogFigure(*end->second, r.happenings[end->second->shownAt], true) + "</div></li>\n";
    } else if (h.kind == "message") {
      lines += "<li class=\"drawing\"><div class=\"shots\">" +
               drawMessageBox(h, "message-" + std::to_string(l.happening)) + "</div></li>\n";
    }
  }
  body += section("happened", "What happened",
                  lines.empty() ? "<p>nothing</p>\n" : "<ol class=\"timeline\">\n" + lines + "</ol>\n");

  std::vector<std::string> files;
  for (const Change& c : r.files) {
    for (const std::string& l : fileChangeLines(c)) files.push_back(l);
  }
  body += section("files", "Files", changesHtml(files));
  std::vector<std::string> registry;
  for (const Change& c : r.registry) registry.push_back(registryChangeLine(c));
  body += section("registry", "Registry", changesHtml(registry));
  if (r.sourcesBefore != r.sourcesAfter) {
    body += section("sources", "Installation sources",
                    "<ul class=\"facts\"><li>before: " + listHtml(r.sourcesBefore) +
                        "</li><li>after: " + listHtml(r.sourcesAfter) + "</li></ul>\n");
  }
  if (!r.leaks.empty()) body += section("open", "Left open", "<p>" + listHtml(r.leaks) + "</p>\n");

  const std::string title = (o.heading.empty() ? r.machineName : o.heading) + ": " + verdictText;
  return htmlPage(title, body);
}

}  // namespace tvx::sim
