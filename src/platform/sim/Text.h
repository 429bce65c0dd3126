// Text helpers for the simulated machine: Windows compares names without regard to case.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tvx::sim {

std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
// Orders names as Windows lists them: without regard to case.
bool iless(std::string_view a, std::string_view b);
std::string trim(std::string_view text);
std::vector<std::string> split(std::string_view text, char separator);
bool startsWithI(std::string_view text, std::string_view prefix);
// Windows wildcard match of a file name: '*' any run, '?' one character, compared without case;
// a pattern ending in ".*" also matches a name without extension.
bool wildcardMatch(std::string_view pattern, std::string_view name);

struct ILess {
  bool operator()(const std::string& a, const std::string& b) const { return iless(a, b); }
};

}  // namespace tvx::sim
