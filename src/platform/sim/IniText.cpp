#include "IniText.h"

#include "Text.h"

namespace tvx::sim {

IniText::IniText(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    std::string raw = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    lines_.push_back(parse(raw));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

IniText::Line IniText::parse(const std::string& raw) {
  Line line;
  line.raw = raw;
  std::string t = trim(raw);
  if (t.empty()) return line;
  if (t[0] == '[') {
    auto close = t.find(']');
    line.kind = Line::Header;
    line.section = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  line.kind = Line::Entry;
  auto eq = t.find('=');
  line.key = trim(t.substr(0, eq));
  line.value = eq == std::string::npos ? std::string() : trim(t.substr(eq + 1));
  line.hasValue = eq != std::string::npos;
  return line;
}

std::pair<std::size_t, std::size_t> IniText::sectionRange(const std::string& section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Header && iequals(lines_[i].section, trim(section))) {
      std::size_t end = i + 1;
      while (end < lines_.size() && lines_[end].kind != Line::Header) ++end;
      return {i + 1, end};
    }
  }
  return {std::string::npos, std::string::npos};
}

std::optional<std::string> IniText::get(const std::string& section, const std::string& key) const {
  auto [first, last] = sectionRange(section);
  if (first == std::string::npos) return std::nullopt;
  for (std::size_t i = first; i < last; ++i) {
    if (lines_[i].kind == Line::Entry && iequals(lines_[i].key, trim(key))) {
      if (!lines_[i].hasValue) return std::nullopt;
      return lines_[i].value;
    }
  }
  return std::nullopt;
}

std::vector<std::string> IniText::sections() const {
  std::vector<std::string> names;
  for (const auto& l : lines_) {
    if (l.kind == Line::Header) names.push_back(l.section);
  }
  return names;
}

bool IniText::hasSection(const std::string& section) const { return sectionRange(section).first != std::string::npos; }

std::vector<std::string> IniText::keys(const std::string& section) const {
  std::vector<std::string> names;
  for (const auto& e : entries(section)) names.push_back(e.first);
  return names;
}

std::vector<std::pair<std::string, std::string>> IniText::entries(const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> out;
  auto [first, last] = sectionRange(section);
  if (first == std::string::npos) return out;
  for (std::size_t i = first; i < last; ++i) {
    if (lines_[i].listed()) out.emplace_back(lines_[i].key, lines_[i].value);
  }
  return out;
}

void IniText::set(const std::string& sectionName, const std::string& keyName, const std::string& value) {
  const std::string section = trim(sectionName);
  const std::string key = trim(keyName);
  auto [first, last] = sectionRange(section);
  if (first == std::string::npos) {
    lines_.push_back(parse("[" + section + "]"));
    lines_.push_back(parse(key + "=" + value));
    return;
  }
  std::size_t lastEntry = first;
  for (std::size_t i = first; i < last; ++i) {
    if (lines_[i].kind != Line::Entry) continue;
    if (iequals(lines_[i].key, key)) {
      lines_[i] = parse(lines_[i].key + "=" + value);
      return;
    }
    lastEntry = i + 1;
  }
  // A new key goes after the last entry of its section, before any blank lines that follow it.
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastEntry), parse(key + "=" + value));
}

void IniText::removeKey(const std::string& section, const std::string& key) {
  auto [first, last] = sectionRange(section);
  if (first == std::string::npos) return;
  for (std::size_t i = first; i < last; ++i) {
    if (lines_[i].kind == Line::Entry && iequals(lines_[i].key, trim(key))) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void IniText::removeSection(const std::string& section) {
  auto [first, last] = sectionRange(section);
  if (first == std::string::npos) return;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first - 1),
               lines_.begin() + static_cast<std::ptrdiff_t>(last));
}

std::string IniText::text() const {
  std::string out;
  for (const auto& l : lines_) out += l.raw + "\r\n";
  return out;
}

std::string profileValue(const std::string& raw) {
  if (raw.size() >= 2 && (raw[0] == '"' || raw[0] == '\'') && raw.back() == raw[0])
    return raw.substr(1, raw.size() - 2);
  return raw;
}

unsigned profileNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    const char prefix = text[i + 1];
    if (prefix == 'x' || prefix == 'X') base = 16;
    if (prefix == 'o' || prefix == 'O') base = 8;
    if (prefix == 'b' || prefix == 'B') base = 2;
  }
  if (base != 10) i += 2;
  unsigned value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit = 99;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

}  // namespace tvx::sim
