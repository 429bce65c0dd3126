#include "Paths.h"

#include <cctype>

#include "Text.h"

namespace tvx::sim {

std::string WinPath::str() const {
  std::string out;
  out += drive;
  out += ":\\";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '\\';
    out += parts[i];
  }
  return out;
}

WinPath WinPath::parent() const {
  WinPath p = *this;
  if (!p.parts.empty()) p.parts.pop_back();
  return p;
}

std::optional<WinPath> resolvePath(std::string_view path, const WinPath& currentDirectory) {
  std::string text(path);
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  if (text.empty() || text.rfind("\\\\", 0) == 0) return std::nullopt;
  WinPath result;
  std::string_view rest = text;
  if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    result.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    rest.remove_prefix(2);
    if (rest.empty() || rest[0] != '\\') {
      if (result.drive == currentDirectory.drive) result.parts = currentDirectory.parts;
    }
  } else {
    result.drive = currentDirectory.drive;
    if (rest[0] != '\\') result.parts = currentDirectory.parts;
  }
  for (const std::string& raw : split(rest, '\\')) {
    // Windows drops trailing blanks and dots of each name.
    std::string name = raw;
    while (!name.empty() && (name.back() == ' ' || name.back() == '.') && name != "." && name != "..") {
      name.pop_back();
    }
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!result.parts.empty()) result.parts.pop_back();
      continue;
    }
    result.parts.push_back(name);
  }
  return result;
}

std::optional<WinPath> parseAbsolutePath(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return std::nullopt;
  WinPath root;
  root.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  return resolvePath(path, root);
}

}  // namespace tvx::sim
