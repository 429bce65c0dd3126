// machine.ini as the simulator reads it: sections of key=value lines, and the forms its values take.
#pragma once
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "../WinTypes.h"

namespace tvx::sim {

struct Entry {
  std::string key;
  std::string value;
  int line;
};
struct Section {
  std::string name;
  std::vector<Entry> entries;
};

std::string readFile(const std::filesystem::path& path);
// Throws MachineError naming machine.ini's line.
[[noreturn]] void fail(int line, const std::string& message);
std::vector<Section> parseConfig(const std::string& text);
// "first; name=value; name=value" -> first and the attributes.
std::pair<std::string, std::vector<std::pair<std::string, std::string>>> splitAttributes(const std::string& value);
// "a, b, c" -> its items, blanks around them gone.
std::vector<std::string> listOf(const std::string& text);
// A count of at most nine digits: what the machine folder's numbers need, and what a DWORD holds.
bool isNumber(const std::string& text);
DWORD number(const std::string& text, int line);
// Durations: "1500", "1500 ms" or "12 s".
DWORD duration(const std::string& text, int line);

}  // namespace tvx::sim
