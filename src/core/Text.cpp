#include "Text.h"

namespace tvx {

namespace {

char upperOf(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the first `count` characters of `a` and `b` are the same letters.
bool sameLetters(const std::string& a, const std::string& b, std::string::size_type count) {
  for (std::string::size_type i = 0; i < count; ++i) {
    if (upperOf(a[i]) != upperOf(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string upperCased(std::string text) {
  for (char& c : text) c = upperOf(c);
  return text;
}

std::string lowerCased(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool equalsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && sameLetters(a, b, a.size());
}

bool beginsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && sameLetters(text, prefix, prefix.size());
}

}  // namespace tvx
