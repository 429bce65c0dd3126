#include "InfFiles.h"

#include <cctype>

namespace tvx::sim {

bool isInfName(const std::string& name) {
  return name.find(".inf") != std::string::npos || name.find(".INF") != std::string::npos;
}

std::vector<const FileNode*> plainFiles(const FileTree& files, const std::string& folder) {
  std::vector<const FileNode*> out;
  auto p = parseAbsolutePath(folder);
  const FileNode* node = p ? files.find(*p) : nullptr;
  if (node == nullptr || !node->isDirectory) return out;
  for (const auto& c : node->children) {
    if (!c->isDirectory) out.push_back(c.get());
  }
  return out;
}

bool folderExists(const FileTree& files, const std::string& path) {
  auto p = parseAbsolutePath(path);
  const FileNode* node = p ? files.find(*p) : nullptr;
  return node != nullptr && node->isDirectory;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines = split(text, '\n');
  for (auto& l : lines) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
  }
  return lines;
}

namespace {

// A path with each folder that exists named by its long or its short name.
std::string pathNamed(const FileTree& files, const std::string& path, bool shortNames) {
  auto p = parseAbsolutePath(path);
  if (!p) return path;
  std::string out = std::string(1, p->drive) + ":";
  const FileNode* node = files.drive(p->drive);
  for (const auto& part : p->parts) {
    node = node != nullptr ? node->child(part) : nullptr;
    out += "\\" + (node == nullptr ? part : shortNames ? node->shortName : node->name);
  }
  return out;
}

}  // namespace

std::string longPathOf(const FileTree& files, const std::string& path) { return pathNamed(files, path, false); }

std::string shortPathOf(const FileTree& files, const std::string& path) { return pathNamed(files, path, true); }

std::string bytesOf(const FileNode& copy, const FileNode& medium) {
  return std::to_string(copy.data.size()) + " of its " + std::to_string(medium.data.size()) + " bytes";
}

std::size_t firstLineNotCopied(const std::vector<std::string>& medium, const std::vector<std::string>& copy) {
  const auto optionLine = [](const std::string& line) {
    return line.rfind("HKR,Config,", 0) == 0 || line.rfind("HKR,\"Settings\",", 0) == 0;
  };
  const auto same = [&](const std::string& a, const std::string& b) {
    if (a == b) return true;
    if (!optionLine(a) || a.size() != b.size()) return false;
    std::size_t differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i] ? 1 : 0;
    return differ == 1;
  };
  std::string section;
  std::size_t at = 0;
  for (std::size_t i = 0; i < medium.size(); ++i) {
    const std::string t = trim(medium[i]);
    if (!t.empty() && t[0] == '[') section = toLower(t.substr(1, t.find(']') - 1));
    if (section == "sourcedisksnames" && !t.empty() && t[0] != '[' && t[0] != ';') continue;
    std::size_t j = at;
    while (j < copy.size() && !same(medium[i], copy[j])) ++j;
    if (j == copy.size()) return i + 1;
    at = j + 1;
  }
  return 0;
}

std::vector<std::string> infFields(const std::string& value) {
  std::vector<std::string> fields;
  std::string current;
  bool quoted = false;
  for (char c : value) {
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (c == ',' && !quoted) {
      fields.push_back(trim(current));
      current.clear();
      continue;
    }
    current += c;
  }
  fields.push_back(trim(current));
  return fields;
}

std::string sourceFolderOf(const std::string& diskValue, const std::string& sourceRoot) {
  const std::vector<std::string> fields = infFields(diskValue);
  std::string path = fields.size() > 3 ? fields[3] : std::string();
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
  }
  std::string root = sourceRoot;
  while (!root.empty() && root.back() == '\\') root.pop_back();
  while (!path.empty() && path.front() == '\\') path.erase(path.begin());
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path.empty() ? root : root + "\\" + path;
}

}  // namespace tvx::sim
