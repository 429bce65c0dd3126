// Text as the program compares it: without regard to case for the letters A to Z only, as Windows'
// ANSI names are compared in the program's tests (other characters compare as they are).
#pragma once
#include <string>

namespace tvx {

std::string upperCased(std::string text);
std::string lowerCased(std::string text);
bool equalsNoCase(const std::string& a, const std::string& b);
// Whether `text` begins with `prefix`, without regard to case.
bool beginsWithNoCase(const std::string& text, const std::string& prefix);

}  // namespace tvx
