#include "HtmlMessageBox.h"

#include "../../src/platform/sim/Simulator.h"
#include "HtmlPage.h"

namespace tvx::sim {

std::string drawMessageBox(const Happening& m, const std::string& id) {
  const std::string answer = m.field("answer");
  const bool unshown = answer == "(could not be shown)";
  std::string buttons;
  for (const std::string& raw : split(m.field("buttons"), ',')) {
    const std::string button = trim(raw);
    const bool answered = button == answer;
    buttons += "<span class=\"button" + std::string(answered ? " answer" : "") + "\"" +
               (answered ? " data-answer=\"yes\"" : "") + ">" + htmlEscape(button) + "</span>";
  }
  std::string out = "<figure class=\"window message" + std::string(unshown ? " unshown" : "") + "\" id=\"" + id +
                    "\" data-answer=\"" + htmlEscape(answer) + "\">\n<div class=\"win\">\n<div class=\"titlebar\">" +
                    "<span class=\"title\">" + htmlEscape(m.field("caption")) +
                    "</span><span class=\"close\">&#x2715;</span></div>\n<div class=\"client\"><p class=\"text\">" +
                    htmlEscape(m.field("text")) + "</p><div class=\"buttons\">" + buttons + "</div></div>\n</div>\n";
  out += "<figcaption>message box, owner " + htmlEscape(m.field("owner")) + ": " +
         (unshown ? "Windows could not show it" : "answered <b>" + htmlEscape(answer) + "</b>") +
         "</figcaption>\n</figure>\n";
  return out;
}

}  // namespace tvx::sim
