#include "HtmlPage.h"

namespace tvx::sim {

namespace {

// The page, and the windows drawn as Windows 95, 98 and Me draw them with their standard colours:
// the 3D face grey, the dark blue caption, sunken check boxes, raised push buttons.
const char* const kStyle = R"css(
body { font: 14px/1.45 "Liberation Sans", Arial, sans-serif; color: #111; background: #fff;
  max-width: 1280px; margin: 0 auto; padding: 0 16px 40px; }
h1 { font-size: 20px; margin: 18px 0 6px; }
h2 { font-size: 17px; margin: 26px 0 8px; border-bottom: 1px solid #ccc; padding-bottom: 2px; }
a { color: #0645ad; }
.machine { margin: 4px 0; }
.machine code, .facts code { font-size: 13px; }
nav { margin: 8px 0 0; font-size: 13px; }
nav a { margin-right: 12px; }
.verdict { margin: 14px 0 8px; padding: 10px 14px; border: 2px solid; border-radius: 4px; }
.verdict p { margin: 0; font-weight: bold; }
.verdict ul { margin: 6px 0 0; }
.complete { background: #e7f4e7; border-color: #2e7d32; }
.nothing-installed, .none { background: #eef2f6; border-color: #5f7d8e; }
.failed { background: #fff4df; border-color: #d98200; }
.incomplete, .crashed, .hung { background: #fde7e7; border-color: #c62828; }
.facts { margin: 4px 0; padding: 0; list-style: none; }
ol.timeline { list-style: none; margin: 0; padding: 0; font: 12px/1.5 "DejaVu Sans Mono", monospace; }
ol.timeline > li { padding: 1px 0; white-space: pre-wrap; overflow-wrap: anywhere; }
ol.timeline > li.seen { font-weight: bold; }
ol.timeline > li > .mark { position: static; display: inline-block; }
ol.timeline > li.drawing { white-space: normal; font: 14px/1.45 "Liberation Sans", Arial, sans-serif;
  padding: 8px 0 12px 24px; }
pre.changes { font: 12px/1.5 "DejaVu Sans Mono", monospace; background: #f6f6f6; padding: 8px 10px;
  margin: 0; white-space: pre-wrap; overflow-wrap: anywhere; }
pre.changes .removed { color: #a40000; }
pre.changes .added { color: #006400; }
.shots { display: flex; flex-wrap: wrap; gap: 28px; align-items: flex-start; }
figure.window { margin: 0; }
figure.window figcaption { font-size: 13px; margin-top: 6px; max-width: 640px; }
ol.steps { margin: 4px 0 0; padding-left: 22px; font-size: 13px; }
ol.steps li::marker { font-weight: bold; color: #c62828; }
.legend-note { font-size: 12px; color: #555; }
table.matrix { border-collapse: collapse; width: 100%; font-size: 13px; }
table.matrix th, table.matrix td { border: 1px solid #ccc; padding: 4px 6px; text-align: left;
  vertical-align: top; }
table.matrix th { background: #f0f0f0; }
table.matrix tr.failing td { background: #fde7e7; }
table.matrix td.nowrap { white-space: nowrap; }
table.matrix td.verdict-cell { font-weight: bold; }
table.matrix tr.failing td.verdict-cell { color: #b00000; }
table.matrix .seen { color: #444; font-size: 12px; }

/* A window as Windows draws it. */
.win { display: inline-block; background: #c0c0c0; padding: 3px; border: 1px solid;
  border-color: #dfdfdf #000 #000 #dfdfdf; box-shadow: inset 1px 1px #fff, inset -1px -1px #808080; }
.titlebar { position: relative; contain: inline-size; display: flex; align-items: center; gap: 3px; height: 18px; padding: 0 2px;
  margin-bottom: 1px; background: linear-gradient(90deg, #000080, #1084d0); color: #fff;
  font: bold 11px/18px Tahoma, "Liberation Sans", Arial, sans-serif; white-space: nowrap; }
.titlebar img { width: 16px; height: 16px; flex: none; }
.titlebar .title { flex: 1; overflow: hidden; text-overflow: ellipsis; }
.titlebar .close { flex: none; width: 16px; height: 14px; box-sizing: border-box; background: #c0c0c0;
  color: #000; font: bold 9px/10px Arial, sans-serif; text-align: center; border: 1px solid;
  border-color: #fff #000 #000 #fff; box-shadow: inset -1px -1px #808080; }
.window-steps { margin-top: 4px; display: flex; gap: 6px; }
.window-steps .mark { position: static; }
.client { position: relative; background: #c0c0c0; color: #000; }
.ctl { position: absolute; box-sizing: border-box; overflow: hidden; }
.ctl .text { white-space: pre; }
.static .text { display: block; white-space: pre-wrap; }
.static.center { text-align: center; }
.static.right { text-align: right; }
.icon { overflow: visible; }
.icon img { width: 32px; height: 32px; display: block; }
.push { display: flex; align-items: center; justify-content: center; border: 1px solid;
  border-color: #fff #000 #000 #fff; box-shadow: inset -1px -1px #808080, inset 1px 1px #dfdfdf; }
.push.default { border: 2px solid #000;
  box-shadow: inset 1px 1px #fff, inset -1px -1px #808080, inset -2px -2px #808080; }
.push.focus::after { content: ""; position: absolute; inset: 4px; border: 1px dotted #000; }
.check, .radio { display: flex; align-items: center; gap: 5px; }
.box { flex: none; width: 13px; height: 13px; box-sizing: border-box; background: #fff; border: 1px solid;
  border-color: #808080 #fff #fff #808080; box-shadow: inset 1px 1px #000, inset -1px -1px #dfdfdf;
  display: flex; align-items: center; justify-content: center; }
.radio .box { width: 12px; height: 12px; border-radius: 50%; }
.box svg { display: block; }
.focus .text { outline: 1px dotted #000; }
.group { overflow: visible; }
.group .frame { position: absolute; left: 0; right: 0; bottom: 0; top: calc(var(--cy) / 2); border: 1px solid #808080;
  box-shadow: inset 1px 1px #fff, 1px 1px #fff; }
.group .text { position: absolute; left: 8px; top: 0; padding: 0 2px; background: #c0c0c0; }
.disabled .text { color: #808080; text-shadow: 1px 1px 0 #fff; }
.disabled .box { background: #c0c0c0; }
.disabled .box svg { fill: #808080; }
.ctl.hidden { outline: 1px dashed #6a6a6a; outline-offset: -1px; }
.ctl.hidden > * { visibility: hidden; }
.mark { position: absolute; z-index: 2; min-width: 16px; height: 16px; padding: 0 4px; box-sizing: border-box;
  border-radius: 8px; background: #d32f2f; color: #fff; font: bold 11px/16px "Liberation Sans", Arial, sans-serif;
  text-align: center; box-shadow: 0 0 0 1px #fff; white-space: nowrap; }
.message .client { padding: 14px 14px 12px; min-width: 120px; max-width: 520px;
  font: 11px/1.3 "Liberation Sans", Arial, sans-serif; }
.message .text { margin: 0 6px 16px; white-space: pre-wrap; }
.message .buttons { display: flex; justify-content: center; gap: 8px; }
.message .button { position: relative; width: 75px; height: 23px; box-sizing: border-box; display: flex;
  align-items: center; justify-content: center; border: 1px solid; border-color: #fff #000 #000 #fff;
  box-shadow: inset -1px -1px #808080, inset 1px 1px #dfdfdf; }
.message .button.answer { outline: 3px solid #d32f2f; outline-offset: 2px; }
.message.unshown .win { opacity: 0.45; }
)css";

}  // namespace

std::string htmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string htmlPage(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         // Nothing from elsewhere: the style sheet is inline, the images are data.
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'; "
         "img-src data:\">\n<title>" +
         htmlEscape(title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n" + body + "</body>\n</html>\n";
}

}  // namespace tvx::sim
