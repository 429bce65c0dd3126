#include "HtmlDialog.h"

#include <cstdio>

#include "../../src/platform/sim/Simulator.h"
#include "HtmlIcon.h"
#include "HtmlPage.h"

namespace tvx::sim {

namespace {

constexpr DWORD kStaticTypeMask = 0x1F;
constexpr DWORD kStaticCenter = 0x1;
constexpr DWORD kStaticRight = 0x2;
constexpr DWORD kStaticNoPrefix = 0x80;
constexpr DWORD kRealSizeControl = 0x40;  // SS_REALSIZECONTROL: the icon is fitted to the control
constexpr long kIconSize = 32;            // SM_CXICON, SM_CYICON

// The control's text as drawn: "&x" underlines x, "&&" is one "&" (not in a static that says
// SS_NOPREFIX).
std::string controlText(const ControlTemplate& c) {
  const bool prefixes = !(c.kind == ControlKind::Static && (c.style & kStaticNoPrefix) != 0);
  std::string out;
  for (std::size_t i = 0; i < c.text.size(); ++i) {
    if (prefixes && c.text[i] == '&' && i + 1 < c.text.size()) {
      ++i;
      if (c.text[i] == '&') {
        out += "&amp;";
        continue;
      }
      // The whole character, which in UTF-8 may take several bytes.
      std::size_t end = i + 1;
      while (end < c.text.size() && (static_cast<unsigned char>(c.text[end]) & 0xC0) == 0x80) ++end;
      out += "<u>" + htmlEscape(c.text.substr(i, end - i)) + "</u>";
      i = end - 1;
      continue;
    }
    out += htmlEscape(std::string(1, c.text[i]));
  }
  return out;
}

// The check mark and the radio button's dot, drawn as Windows draws them, pixel by pixel.
const char* const kCheckMark =
    "<svg width=\"7\" height=\"7\" viewBox=\"0 0 7 7\"><path d=\"M0 2h1v1h1v1h1v-1h1v-1h1v-1h1v-1h1v3h-1v1h-1v1h-1v1"
    "h-1v1h-1v-1h-1v-1h-1v-1h-1z\"/></svg>";
const char* const kRadioDot =
    "<svg width=\"4\" height=\"4\" viewBox=\"0 0 4 4\"><path d=\"M1 0h2v1h1v2h-1v1h-2v-1h-1v-2h1z\"/></svg>";

struct Box {
  long left, top, width, height;
};

std::string styleOf(const Box& b) {
  return "left:" + std::to_string(b.left) + "px;top:" + std::to_string(b.top) + "px;width:" + std::to_string(b.width) +
         "px;height:" + std::to_string(b.height) + "px";
}

// The font the page draws a dialog's texts in. The browser seldom has the template's font: the
// Western dialogs are drawn in Liberation Sans (Arial's metrics), sized so that its average letter
// is as wide as the template font's (the horizontal base unit), so that a text takes the room it
// takes on Windows; the Asian dialogs in the template's font or one with the language's script, at
// the template's point size, where each ideograph is one em wide as in theirs.
std::string fontStyle(const DialogTemplate& t, WORD language, const DialogBaseUnits& units) {
  const std::string tag = languageTag(language);
  char size[32];
  if (tag == "ja" || tag == "zh-TW" || tag == "ko") {
    const char* script = tag == "ja" ? "'IPAPGothic', " : "";
    std::snprintf(size, sizeof(size), "%dpt", t.pointSize);
    return "font-family:'" + htmlEscape(t.font) + "', " + script +
           "'WenQuanYi Micro Hei', sans-serif;font-size:" + size;
  }
  constexpr double kArialAverageLetter = 0.5835;  // of the em, over A-Z and a-z
  std::snprintf(size, sizeof(size), "%.1fpx", static_cast<double>(units.cx) / kArialAverageLetter);
  return std::string("font-family:'Liberation Sans', Arial, sans-serif;font-size:") + size;
}

std::string drawControl(const ControlTemplate& c, std::size_t index, const Box& box, const ControlSeen& state,
                        bool focused, WORD language) {
  std::string kind;
  std::string inner;
  const std::string text = "<span class=\"text\">" + controlText(c) + "</span>";
  if (c.isPushButton()) {
    kind = c.buttonType() == BS_DEFPUSHBUTTON ? "push default" : "push";
    inner = text;
  } else if (c.isCheckBox()) {
    kind = std::string("check") + (state.checked ? " checked" : "");
    inner = std::string("<span class=\"box\">") + (state.checked ? kCheckMark : "") + "</span>" + text;
  } else if (c.isRadioButton()) {
    kind = std::string("radio") + (state.checked ? " checked" : "");
    inner = std::string("<span class=\"box\">") + (state.checked ? kRadioDot : "") + "</span>" + text;
  } else if (c.kind == ControlKind::Button && c.buttonType() == BS_GROUPBOX) {
    kind = "group";
    inner = "<span class=\"frame\"></span>" + (c.text.empty() ? std::string() : text);
  } else if (c.kind == ControlKind::Static && (c.style & kStaticTypeMask) == SS_ICON) {
    kind = "icon";
    const std::string icon = c.textResource >= 0 ? iconDataUri(c.textResource, language) : std::string();
    if (!icon.empty()) inner = "<img alt=\"icon " + std::to_string(c.textResource) + "\" src=\"" + icon + "\">";
  } else if (c.kind == ControlKind::Static) {
    const DWORD align = c.style & kStaticTypeMask;
    kind = std::string("static") + (align == kStaticCenter ? " center" : align == kStaticRight ? " right" : "");
    inner = text;
  } else {
    kind = "other";
    inner = text;
  }
  if (!state.enabled) kind += " disabled";
  if (!state.visible) kind += " hidden";
  if (focused) kind += " focus";
  std::string out = "<div class=\"ctl " + kind + "\" data-index=\"" + std::to_string(index) + "\"";
  if (c.id != -1) out += " data-id=\"" + std::to_string(c.id) + "\"";
  out += " data-kind=\"" + htmlEscape(kindName(c)) + "\" style=\"" + styleOf(box) + "\"";
  if (!state.visible) out += " title=\"hidden\"";
  return out + ">" + inner + "</div>";
}

std::string mark(std::size_t number, const std::string& style, const std::string& label) {
  return "<span class=\"mark\" data-step=\"" + std::to_string(number) + "\"" +
         (style.empty() ? "" : " style=\"" + style + "\"") + ">" + std::to_string(number) +
         (label.empty() ? "" : " " + htmlEscape(label)) + "</span>";
}

}  // namespace

std::optional<DialogTemplate> programDialog(int templateId, WORD language) {
  const ResEntry* resource = findResource(programResources(), RT_DIALOG_ID, static_cast<WORD>(templateId), language);
  if (resource == nullptr) return std::nullopt;
  return parseDialogTemplate(resource->data);
}

std::string languageTag(WORD language) {
  switch (language & 0x3FF) {
    case 0x04:
      return "zh-TW";
    case 0x0C:
      return "fr";
    case 0x11:
      return "ja";
    case 0x12:
      return "ko";
    default:
      return "en";
  }
}

std::string drawDialog(const DialogPicture& p) {
  const DialogTemplate& t = *p.dialog;
  const DialogBaseUnits units = dialogBaseUnits(t.pointSize);
  const auto boxOf = [&units](short x, short y, short cx, short cy) {
    return Box{dialogUnitsToPixelsX(x, units), dialogUnitsToPixelsY(y, units), dialogUnitsToPixelsX(cx, units),
               dialogUnitsToPixelsY(cy, units)};
  };
  const Box client = boxOf(0, 0, t.cx, t.cy);
  std::string controls;
  std::map<int, Box> placed;
  for (std::size_t i = 0; i < t.controls.size(); ++i) {
    const ControlTemplate& c = t.controls[i];
    ControlSeen state;
    state.text = c.text;
    state.enabled = (c.style & WS_DISABLED) == 0;
    state.visible = (c.style & WS_VISIBLE) != 0;
    if (auto it = p.states.find(c.id); c.id != -1 && it != p.states.end()) state = it->second;
    Box box = boxOf(c.x, c.y, c.cx, c.cy);
    // An icon static takes the size of its icon, whatever the template says (the resource
    // compiler writes none).
    if (c.kind == ControlKind::Static && (c.style & kStaticTypeMask) == SS_ICON && (c.style & kRealSizeControl) == 0) {
      box.width = box.height = kIconSize;
    }
    if (c.id != -1) placed.emplace(c.id, box);
    controls += "\n  " + drawControl(c, i, box, state, p.focus && *p.focus == c.id, p.language);
  }
  // Each step on the control it acted on; a step that took no control (a key, the window's close
  // box, its system menu) below the window.
  std::string marks;
  std::string captionMarks;
  for (std::size_t n = 0; n < p.steps.size(); ++n) {
    const DialogStep& step = p.steps[n];
    auto at = step.control ? placed.find(*step.control) : placed.end();
    if (at != placed.end()) {
      // Left of the control, level with its middle: the mark hides none of it.
      const Box& b = at->second;
      marks += "\n  " + mark(n + 1,
                             "left:" + std::to_string(b.left - 18) +
                                 "px;top:" + std::to_string(b.top + (b.height - 16) / 2) + "px",
                             "");
    } else {
      captionMarks += mark(n + 1, "", step.action.substr(0, step.action.find(' ', step.action.find(' ') + 1)));
    }
  }
  const std::string icon = iconDataUri(128, p.language);
  std::string out = "<figure class=\"window dialog\" id=\"" + p.id + "\" lang=\"" + languageTag(p.language) +
                    "\" data-template=\"" + std::to_string(p.templateId) + "\" data-language=\"" +
                    std::to_string(p.language) + "\" data-font=\"" + htmlEscape(t.font) + "\" data-points=\"" +
                    std::to_string(t.pointSize) + "\" data-base-units=\"" + std::to_string(units.cx) + " " +
                    std::to_string(units.cy) + "\">\n";
  out += "<div class=\"win\">\n<div class=\"titlebar\">";
  if (!icon.empty()) out += "<img alt=\"\" src=\"" + icon + "\">";
  out += "<span class=\"title\">" + htmlEscape(t.title) + "</span>";
  if ((t.style & WS_SYSMENU) != 0) out += "<span class=\"close\">&#x2715;</span>";
  out += "</div>\n<div class=\"client\" style=\"width:" + std::to_string(client.width) +
         "px;height:" + std::to_string(client.height) + "px;line-height:" + std::to_string(units.cy) +
         "px;--cy:" + std::to_string(units.cy) + "px;" + fontStyle(t, p.language, units) + "\">" + controls + marks +
         "\n</div>\n</div>\n";
  if (!captionMarks.empty()) out += "<div class=\"window-steps\">" + captionMarks + "</div>\n";
  out += "<figcaption>" + p.captionHtml + "</figcaption>\n</figure>\n";
  return out;
}

}  // namespace tvx::sim
