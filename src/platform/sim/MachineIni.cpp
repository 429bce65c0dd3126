#include "MachineIni.h"

#include <fstream>
#include <sstream>

#include "RegFile.h"
#include "Text.h"

namespace tvx::sim {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void fail(int line, const std::string& message) {
  throw MachineError("machine.ini line " + std::to_string(line) + ": " + message);
}

std::vector<Section> parseConfig(const std::string& text) {
  std::vector<Section> sections;
  int number = 0;
  for (std::string raw : split(text, '\n')) {
    ++number;
    // A NUL would cut a folder or file name short where the name reaches the host.
    if (raw.find('\0') != std::string::npos) fail(number, "a NUL byte in the line");
    std::string t = trim(raw);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      if (t.back() != ']') fail(number, "section line without closing ]");
      sections.push_back(Section{trim(t.substr(1, t.size() - 2)), {}});
      continue;
    }
    if (sections.empty()) fail(number, "key=value before the first [section]");
    // Script steps may be a bare word ("close; dialog=102"): the key ends at the first '=' or ';'.
    const bool script = toLower(sections.back().name) == "script";
    auto eq = script ? t.find_first_of("=;") : t.find('=');
    if (eq == std::string::npos && script) eq = t.size();
    if (eq == std::string::npos) fail(number, "expected key=value, found \"" + t + "\"");
    std::string value = eq < t.size() ? t.substr(t[eq] == '=' ? eq + 1 : eq) : "";
    sections.back().entries.push_back(Entry{trim(t.substr(0, eq)), trim(value), number});
  }
  return sections;
}

std::pair<std::string, std::vector<std::pair<std::string, std::string>>> splitAttributes(const std::string& value) {
  auto parts = split(value, ';');
  std::vector<std::pair<std::string, std::string>> attributes;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string p = trim(parts[i]);
    if (p.empty()) continue;
    auto eq = p.find('=');
    attributes.emplace_back(trim(p.substr(0, eq)), eq == std::string::npos ? "" : trim(p.substr(eq + 1)));
  }
  return {trim(parts[0]), attributes};
}

std::vector<std::string> listOf(const std::string& text) {
  std::vector<std::string> items;
  for (const auto& item : split(text, ',')) {
    if (!trim(item).empty()) items.push_back(trim(item));
  }
  return items;
}

bool isNumber(const std::string& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

DWORD number(const std::string& text, int line) {
  if (!isNumber(text)) fail(line, "expected a number of at most nine digits, found \"" + text + "\"");
  return static_cast<DWORD>(std::stoul(text));
}

DWORD duration(const std::string& text, int line) {
  std::string t = trim(text);
  if (t.size() > 1 && t.back() == 's' && t[t.size() - 2] == 'm') return number(trim(t.substr(0, t.size() - 2)), line);
  if (!t.empty() && t.back() == 's') return number(trim(t.substr(0, t.size() - 1)), line) * 1000;
  return number(t, line);
}

}  // namespace tvx::sim
