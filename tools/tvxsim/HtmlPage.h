// The frame of the HTML pages of tvxsim: one self-contained page, its style sheet inline, no
// script, nothing loaded from elsewhere.
#pragma once
#include <string>

namespace tvx::sim {

// A text as HTML: &, <, >, " and ' escaped.
std::string htmlEscape(const std::string& text);
// A whole page: `body` is HTML.
std::string htmlPage(const std::string& title, const std::string& body);

}  // namespace tvx::sim
