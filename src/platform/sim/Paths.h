// Windows paths on the simulated machine.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx::sim {

// A full path: a drive letter and the names below its root.
struct WinPath {
  char drive = 'C';
  std::vector<std::string> parts;

  std::string str() const;  // "C:\WINDOWS\INF", or "C:\" for a root
  WinPath parent() const;
  std::string leaf() const { return parts.empty() ? std::string() : parts.back(); }
};

// Resolves a path as Windows does against the current directory: "\X" is on the current drive,
// "X" below the current directory, '/' is a separator, "." and ".." are folded. UNC paths and
// empty paths give nothing.
std::optional<WinPath> resolvePath(std::string_view path, const WinPath& currentDirectory);
std::optional<WinPath> parseAbsolutePath(std::string_view path);

}  // namespace tvx::sim
