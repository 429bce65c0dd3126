// The text of one INI file as the profile functions of Windows read and rewrite it: sections and
// keys compared without regard to case, blanks around keys and values ignored, lines that are
// not touched kept as they stand, a rewritten key kept in its place.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tvx::sim {

class IniText {
 public:
  IniText() = default;
  explicit IniText(const std::string& text);

  std::optional<std::string> get(const std::string& section, const std::string& key) const;
  std::vector<std::string> sections() const;
  std::vector<std::string> keys(const std::string& section) const;
  bool hasSection(const std::string& section) const;
  // The listed entries of a section in order, as (key, value) pairs, repeated keys included.
  std::vector<std::pair<std::string, std::string>> entries(const std::string& section) const;

  void set(const std::string& section, const std::string& key, const std::string& value);
  void removeKey(const std::string& section, const std::string& key);
  void removeSection(const std::string& section);

  std::string text() const;  // lines joined with CR LF

 private:
  struct Line {
    std::string raw;
    std::string section;  // for a section header: its name
    std::string key;      // for an entry: its key
    std::string value;
    bool hasValue = false;  // a line without '=' names no value
    enum Kind { Other, Header, Entry } kind = Other;
    // Listed among the keys of its section: it has a value and is not a ';' comment.
    bool listed() const { return kind == Entry && hasValue && !key.empty() && key[0] != ';'; }
  };
  static Line parse(const std::string& raw);
  // Index range [first, last) of the lines of a section after its header; npos when missing.
  std::pair<std::size_t, std::size_t> sectionRange(const std::string& section) const;

  std::vector<Line> lines_;
};

// A value as the profile functions hand it over: one pair of surrounding quotes dropped.
std::string profileValue(const std::string& raw);
// A value as GetPrivateProfileIntA reads it: leading blanks, an optional sign, an optional base
// prefix ("0x", "0o", "0b"), then the digits of that base; anything after them is ignored.
unsigned profileNumber(const std::string& text);

}  // namespace tvx::sim
