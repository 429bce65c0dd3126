#include "Text.h"

#include <algorithm>
#include <cctype>

namespace tvx::sim {

namespace {
// Names are folded as the "C" locale folds them: ASCII letters only.
char up(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char low(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool matchFrom(std::string_view p, std::string_view n) {
  std::size_t pi = 0;
  std::size_t ni = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || up(p[pi]) == up(n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}
}  // namespace

std::string toUpper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), up);
  return out;
}

std::string toLower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), low);
  return out;
}

bool iequals(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return up(x) == up(y); });
}

bool iless(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return up(x) < up(y); });
}

std::string trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  auto last = text.find_last_not_of(blanks);
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    auto pos = text.find(separator, start);
    parts.emplace_back(text.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start));
    if (pos == std::string_view::npos) break;
    start = pos + 1;
  }
  return parts;
}

bool startsWithI(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && iequals(text.substr(0, prefix.size()), prefix);
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  if (matchFrom(pattern, name)) return true;
  // "NAME.*" and "*." also match a name that has no extension at all.
  if (name.find('.') == std::string_view::npos) {
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
      return matchFrom(pattern.substr(0, pattern.size() - 2), name);
    }
    if (!pattern.empty() && pattern.back() == '.') return matchFrom(pattern.substr(0, pattern.size() - 1), name);
  }
  return false;
}

}  // namespace tvx::sim
