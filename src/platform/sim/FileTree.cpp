#include "FileTree.h"

#include <algorithm>
#include <cctype>

#include "Text.h"

namespace tvx::sim {

namespace {

bool isShortChar(char c) {
  if (static_cast<unsigned char>(c) < 0x20) return false;
  return std::string_view("\"*+,/:;<=>?[\\]| .").find(c) == std::string_view::npos;
}

bool isValid83(const std::string& name) {
  if (name == "." || name == "..") return true;
  auto dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  return std::all_of(base.begin(), base.end(), isShortChar) && std::all_of(ext.begin(), ext.end(), isShortChar);
}

std::string shortPart(const std::string& text, std::size_t limit) {
  std::string out;
  for (char c : text) {
    if (out.size() == limit) break;
    if (c == ' ' || c == '.') continue;
    out += isShortChar(c) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : '_';
  }
  return out;
}

std::unique_ptr<FileNode> cloneNode(const FileNode& node) {
  auto copy = std::make_unique<FileNode>();
  copy->name = node.name;
  copy->shortName = node.shortName;
  copy->isDirectory = node.isDirectory;
  copy->attributes = node.attributes;
  copy->written = node.written;
  copy->data = node.data;
  for (const auto& c : node.children) {
    copy->children.push_back(cloneNode(*c));
    copy->index[toUpper(c->name)] = copy->children.back().get();
    copy->index[toUpper(c->shortName)] = copy->children.back().get();
  }
  return copy;
}

}  // namespace

std::string makeShortName(const std::string& longName, const std::function<bool(const std::string&)>& taken) {
  if (isValid83(longName)) return toUpper(longName);
  auto dot = longName.rfind('.');
  std::string base = shortPart(longName.substr(0, dot), 6);
  std::string ext = dot == std::string::npos || dot == 0 ? "" : shortPart(longName.substr(dot + 1), 3);
  if (base.empty()) base = "_";
  for (int n = 1;; ++n) {
    std::string tail = "~" + std::to_string(n);
    std::string candidate = base.substr(0, 8 - tail.size()) + tail + (ext.empty() ? "" : "." + ext);
    if (!taken(candidate)) return candidate;
  }
}

FileNode* FileNode::child(std::string_view childName) const {
  auto it = index.find(toUpper(childName));
  return it == index.end() ? nullptr : it->second;
}

FileNode& FileNode::addChild(const std::string& childName, bool directory) {
  auto node = std::make_unique<FileNode>();
  node->name = childName;
  node->shortName = makeShortName(childName, [this](const std::string& candidate) {
    const FileNode* other = child(candidate);
    return other != nullptr && iequals(other->shortName, candidate);
  });
  node->isDirectory = directory;
  node->attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  index[toUpper(node->name)] = node.get();
  index[toUpper(node->shortName)] = node.get();
  children.push_back(std::move(node));
  return *children.back();
}

void FileNode::removeChild(const FileNode* node) {
  for (const std::string& key : {node->name, node->shortName}) {
    auto it = index.find(toUpper(key));
    if (it != index.end() && it->second == node) index.erase(it);
  }
  children.erase(std::remove_if(children.begin(), children.end(),
                                [node](const std::unique_ptr<FileNode>& c) { return c.get() == node; }),
                 children.end());
}

DWORD FileNode::findAttributes() const {
  DWORD a = attributes;
  if (isDirectory) a |= FILE_ATTRIBUTE_DIRECTORY;
  return a == 0 ? FILE_ATTRIBUTE_NORMAL : a;
}

FileTree::FileTree(const FileTree& other) { *this = other; }

FileTree& FileTree::operator=(const FileTree& other) {
  if (this == &other) return *this;
  drives_.clear();
  for (const auto& [letter, node] : other.drives_) drives_[letter] = cloneNode(*node);
  return *this;
}

FileNode& FileTree::addDrive(char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  auto& slot = drives_[letter];
  if (!slot) {
    slot = std::make_unique<FileNode>();
    slot->isDirectory = true;
    slot->attributes = FILE_ATTRIBUTE_DIRECTORY;
  }
  return *slot;
}

FileNode* FileTree::drive(char letter) const {
  auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == drives_.end() ? nullptr : it->second.get();
}

std::vector<char> FileTree::driveLetters() const {
  std::vector<char> letters;
  for (const auto& entry : drives_) letters.push_back(entry.first);
  return letters;
}

FileNode* FileTree::find(const WinPath& path) const {
  FileNode* node = drive(path.drive);
  for (const auto& part : path.parts) {
    if (node == nullptr || !node->isDirectory) return nullptr;
    node = node->child(part);
  }
  return node;
}

FileNode* FileTree::makeDirectories(const WinPath& path) {
  FileNode* node = drive(path.drive);
  for (const auto& part : path.parts) {
    if (node == nullptr || !node->isDirectory) return nullptr;
    FileNode* next = node->child(part);
    node = next != nullptr ? next : &node->addChild(part, true);
  }
  return node;
}

FileNode* FileTree::writeFile(const WinPath& path, const std::string& data) {
  FileNode* folder = find(path.parent());
  if (folder == nullptr || !folder->isDirectory || path.parts.empty()) return nullptr;
  FileNode* file = folder->child(path.leaf());
  if (file == nullptr) file = &folder->addChild(path.leaf(), false);
  if (file->isDirectory) return nullptr;
  file->data = data;
  return file;
}

}  // namespace tvx::sim
