#include <algorithm>
#include <cstring>

#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {

void fillFindData(const FileNode& node, const std::string& name, WIN32_FIND_DATAA* data) {
  std::memset(data, 0, sizeof(*data));
  data->dwFileAttributes = node.findAttributes();
  data->nFileSizeLow = static_cast<DWORD>(node.data.size());
  data->ftCreationTime = node.written;
  data->ftLastAccessTime = node.written;
  data->ftLastWriteTime = node.written;
  std::strncpy(data->cFileName, name.c_str(), MAX_PATH - 1);
  // Windows gives an alternate name only where the long name is not a valid short one.
  if (name != "." && name != ".." && !iequals(node.shortName, name)) {
    std::strncpy(data->cAlternateFileName, node.shortName.c_str(), sizeof(data->cAlternateFileName) - 1);
  }
}

DWORD copyOut(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

constexpr DWORD kErrorDirectory = 267;

}  // namespace

BOOL Files::fail(DWORD error) {
  m_.lastError = error;
  return FALSE;
}

std::optional<WinPath> Files::resolve(LPCSTR path) const {
  if (path == nullptr) return std::nullopt;
  return resolvePath(path, m_.currentDir);
}

DWORD Files::writeRefusal(const WinPath& path, const FileNode* node) const {
  if (node != nullptr && (node->isDirectory || (node->attributes & FILE_ATTRIBUTE_READONLY) != 0)) {
    return ERROR_ACCESS_DENIED;
  }
  // The file of a running program is mapped into its process; another program may hold a file.
  return isRunningProgram(path) || m_.holds(path) ? ERROR_SHARING_VIOLATION : ERROR_SUCCESS;
}

bool Files::isRunningProgram(const WinPath& path) const {
  for (const auto& process : m_.processes) {
    if (!process.ended && iequals(process.program, path.str())) return true;
  }
  return false;
}

// msvcrt opens its streams shared for reading and writing but not for deleting.
DWORD Files::deleteRefusal(const WinPath& path, const FileNode* node) const {
  if (isRunningProgram(path)) return ERROR_ACCESS_DENIED;  // as NT refuses to delete a mapped image
  if (DWORD refused = writeRefusal(path, node); refused != ERROR_SUCCESS) return refused;
  const OpenCount open = m_.openCount(path);
  return open.readers + open.writers > 0 ? ERROR_SHARING_VIOLATION : ERROR_SUCCESS;
}

DWORD Files::createRefusal(const WinPath& path) const {
  if (!m_.hasMedium(path.drive)) return ERROR_NOT_READY;
  return path.drive == m_.cdDrive ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

// A drive without its medium (the CD taken out) answers ERROR_NOT_READY, whatever the path.
DWORD Files::missingError(const WinPath& path) const {
  if (!m_.hasMedium(path.drive)) return ERROR_NOT_READY;
  FileNode* folder = m_.files.find(path.parent());
  return folder != nullptr && folder->isDirectory ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

BOOL Files::CreateDirectoryA(LPCSTR path) {
  if (m_.injectFault("CreateDirectoryA", ERROR_ACCESS_DENIED)) return FALSE;
  auto p = resolve(path);
  if (!p || p->parts.empty()) return fail(ERROR_PATH_NOT_FOUND);
  if (!m_.hasMedium(p->drive)) return fail(ERROR_NOT_READY);
  if (m_.files.find(*p) != nullptr) return fail(ERROR_ALREADY_EXISTS);
  FileNode* folder = m_.files.find(p->parent());
  if (folder == nullptr || !folder->isDirectory) return fail(ERROR_PATH_NOT_FOUND);
  if (DWORD refused = createRefusal(*p); refused != ERROR_SUCCESS) return fail(refused);
  folder->addChild(p->leaf(), true);
  return TRUE;
}

HANDLE Files::FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
  if (m_.injectFault("FindFirstFileA", ERROR_NOT_ENOUGH_MEMORY)) return INVALID_HANDLE_VALUE;
  auto p = resolve(pattern);
  if (!p || p->parts.empty()) {
    m_.lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  FileNode* folder = m_.fileAt(p->parent());
  if (folder == nullptr || !folder->isDirectory) {
    m_.lastError = m_.hasMedium(p->drive) ? ERROR_PATH_NOT_FOUND : ERROR_NOT_READY;
    return INVALID_HANDLE_VALUE;
  }
  const std::string leaf = p->leaf();
  Search search;
  WIN32_FIND_DATAA entry;
  if (!p->parent().parts.empty()) {
    for (const char* dot : {".", ".."}) {
      if (wildcardMatch(leaf, dot)) {
        fillFindData(*folder, dot, &entry);
        search.entries.push_back(entry);
      }
    }
  }
  // A FAT folder (the Windows 95 family) lists its entries in the order they were made; NTFS (the NT
  // family) in the order of their names. A pattern matches the long name or the 8.3 name.
  std::vector<const FileNode*> listed;
  for (const auto& child : folder->children) listed.push_back(child.get());
  if (!m_.os.isWindows9x()) {
    std::stable_sort(listed.begin(), listed.end(),
                     [](const FileNode* a, const FileNode* b) { return iless(a->name, b->name); });
  }
  for (const FileNode* child : listed) {
    if (wildcardMatch(leaf, child->name) || wildcardMatch(leaf, child->shortName)) {
      fillFindData(*child, child->name, &entry);
      search.entries.push_back(entry);
    }
  }
  if (search.entries.empty()) {
    m_.lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  *data = search.entries[0];
  search.next = 1;
  std::uintptr_t id = nextSearch_++;
  searches_[id] = std::move(search);
  return reinterpret_cast<HANDLE>(id);
}

BOOL Files::FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
  if (m_.injectFault("FindNextFileA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  auto it = searches_.find(reinterpret_cast<std::uintptr_t>(find));
  if (it == searches_.end()) return fail(ERROR_INVALID_HANDLE);
  Search& s = it->second;
  if (s.next >= s.entries.size()) return fail(ERROR_NO_MORE_FILES);
  *data = s.entries[s.next++];
  return TRUE;
}

BOOL Files::FindClose(HANDLE find) {
  if (searches_.erase(reinterpret_cast<std::uintptr_t>(find)) == 0) return fail(ERROR_INVALID_HANDLE);
  return TRUE;
}

BOOL Files::CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  const BOOL copied = m_.injectFault("CopyFileA") ? fail(ERROR_DISK_FULL) : copyFile(existing, target, failIfExists);
  m_.record("copy", {{"from", existing != nullptr ? existing : ""},
                     {"to", target != nullptr ? target : ""},
                     {"result", copied ? "copied" : "failed, error " + std::to_string(m_.lastError)}});
  const DWORD error = m_.lastError;
  m_.copied();
  m_.lastError = error;  // what the world does meanwhile leaves the program's last error alone
  return copied;
}

BOOL Files::copyFile(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  auto from = resolve(existing);
  auto to = resolve(target);
  if (!from || !to) return fail(ERROR_PATH_NOT_FOUND);
  FileNode* src = m_.fileAt(*from);
  if (src == nullptr) return fail(missingError(*from));
  if (src->isDirectory) return fail(ERROR_ACCESS_DENIED);
  if (m_.holds(*from)) return fail(ERROR_SHARING_VIOLATION);
  if (!m_.hasMedium(to->drive)) return fail(ERROR_NOT_READY);
  FileNode* folder = m_.files.find(to->parent());
  if (folder == nullptr || !folder->isDirectory || to->parts.empty()) return fail(ERROR_PATH_NOT_FOUND);
  FileNode* dst = folder->child(to->leaf());
  DWORD kept = 0;  // a hidden or system file copied over stays so
  if (dst != nullptr) {
    kept = dst->attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (failIfExists) return fail(ERROR_FILE_EXISTS);
    // A file copied onto itself, by whatever name, stays as it was: Windows NT finds its source
    // open (ERROR_SHARING_VIOLATION), the 95 family answers as for a destination it keeps.
    if (dst == src) return fail(m_.os.isWindows9x() ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION);
    if (DWORD refused = writeRefusal(*to, dst); refused != ERROR_SUCCESS) return fail(refused);
  } else if (DWORD refused = createRefusal(*to); refused != ERROR_SUCCESS) {
    return fail(refused);
  } else {
    dst = &folder->addChild(to->leaf(), false);
  }
  dst->data = src->data;
  dst->written = src->written;  // a copy keeps the time its source was last written
  dst->attributes = src->attributes | FILE_ATTRIBUTE_ARCHIVE | kept;
  return TRUE;
}

BOOL Files::MoveFileA(LPCSTR existing, LPCSTR target) {
  if (m_.injectFault("MoveFileA", ERROR_ACCESS_DENIED)) return FALSE;
  auto from = resolve(existing);
  auto to = resolve(target);
  if (!from || !to) return fail(ERROR_PATH_NOT_FOUND);
  FileNode* src = m_.fileAt(*from);
  if (src == nullptr) return fail(missingError(*from));
  if (!m_.hasMedium(to->drive)) return fail(ERROR_NOT_READY);
  FileNode* folder = m_.files.find(to->parent());
  if (folder == nullptr || !folder->isDirectory || to->parts.empty()) return fail(ERROR_PATH_NOT_FOUND);
  if (folder->child(to->leaf()) != nullptr) return fail(ERROR_ALREADY_EXISTS);
  if (DWORD refused = deleteRefusal(*from, src); refused != ERROR_SUCCESS && !src->isDirectory) return fail(refused);
  if (DWORD refused = createRefusal(*to); refused != ERROR_SUCCESS) return fail(refused);
  if (DWORD refused = createRefusal(*from); refused != ERROR_SUCCESS) return fail(refused);
  FileNode& moved = folder->addChild(to->leaf(), src->isDirectory);
  moved.data = std::move(src->data);
  moved.attributes = src->attributes;
  moved.children = std::move(src->children);
  moved.index = std::move(src->index);
  m_.files.find(from->parent())->removeChild(src);
  return TRUE;
}

DWORD Files::GetFileAttributesA(LPCSTR path) {
  if (m_.injectFault("GetFileAttributesA", ERROR_ACCESS_DENIED)) return INVALID_FILE_ATTRIBUTES;
  auto p = resolve(path);
  FileNode* node = p ? m_.fileAt(*p) : nullptr;
  if (node == nullptr) {
    m_.lastError = p ? missingError(*p) : ERROR_PATH_NOT_FOUND;
    return INVALID_FILE_ATTRIBUTES;
  }
  return node->findAttributes();
}

BOOL Files::SetFileAttributesA(LPCSTR path, DWORD attributes) {
  if (m_.injectFault("SetFileAttributesA", ERROR_ACCESS_DENIED)) return FALSE;
  auto p = resolve(path);
  FileNode* node = p ? m_.fileAt(*p) : nullptr;
  if (node == nullptr) return fail(p ? missingError(*p) : ERROR_PATH_NOT_FOUND);
  if (DWORD refused = createRefusal(*p); refused != ERROR_SUCCESS) return fail(refused);
  constexpr DWORD settable =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  node->attributes = (attributes & settable) | (node->isDirectory ? FILE_ATTRIBUTE_DIRECTORY : 0);
  return TRUE;
}

BOOL Files::DeleteFileA(LPCSTR path) {
  if (m_.injectFault("DeleteFileA", ERROR_ACCESS_DENIED)) return FALSE;
  auto p = resolve(path);
  FileNode* node = p ? m_.fileAt(*p) : nullptr;
  if (node == nullptr) return fail(p ? missingError(*p) : ERROR_PATH_NOT_FOUND);
  if (DWORD refused = deleteRefusal(*p, node); refused != ERROR_SUCCESS) return fail(refused);
  m_.files.find(p->parent())->removeChild(node);
  return TRUE;
}

DWORD Files::GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  if (m_.injectFault("GetShortPathNameA", ERROR_NOT_ENOUGH_MEMORY)) return 0;
  auto p = resolve(longPath);
  if (!p) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (!m_.hasMedium(p->drive)) {
    m_.lastError = ERROR_NOT_READY;
    return 0;
  }
  std::string out = std::string(1, p->drive) + ":\\";
  FileNode* node = m_.files.drive(p->drive);
  for (std::size_t i = 0; i < p->parts.size(); ++i) {
    node = node != nullptr && node->isDirectory ? node->child(p->parts[i]) : nullptr;
    if (node == nullptr) {
      m_.lastError = missingError(*p);
      return 0;
    }
    // The FAT drives of the Windows 95 family give each name's short entry, in upper case; the NT
    // family keeps a name that is already a short name as it was written.
    const bool alreadyShort = iequals(node->shortName, p->parts[i]) || iequals(node->shortName, node->name);
    const bool asWritten = alreadyShort && !m_.os.isWindows9x();
    out += (i > 0 ? "\\" : "") + (asWritten ? p->parts[i] : node->shortName);
  }
  // A trailing backslash of the long path stays.
  std::string given(longPath);
  if (!p->parts.empty() && !given.empty() && (given.back() == '\\' || given.back() == '/')) out += '\\';
  return copyOut(out, shortPath, size);
}

DWORD Files::GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  if (m_.injectFault("GetCurrentDirectoryA", ERROR_NOT_ENOUGH_MEMORY)) return 0;
  return copyOut(m_.currentDir.str(), buffer, size);
}

DWORD Files::GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart) {
  if (m_.injectFault("GetFullPathNameA", ERROR_NOT_ENOUGH_MEMORY)) return 0;
  auto p = resolve(path);
  if (!p) {
    m_.lastError = ERROR_INVALID_NAME;
    return 0;
  }
  std::string full = p->str();
  // A trailing backslash of the path stays, as Windows keeps it.
  const std::string given(path);
  if (!p->parts.empty() && (given.back() == '\\' || given.back() == '/')) full += '\\';
  const DWORD n = copyOut(full, buffer, size);
  if (filePart != nullptr && n < size) {
    const auto slash = full.rfind('\\');
    *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
  }
  return n;
}

BOOL Files::SetCurrentDirectoryA(LPCSTR path) {
  if (m_.injectFault("SetCurrentDirectoryA", ERROR_ACCESS_DENIED)) return FALSE;
  auto p = resolve(path);
  if (!p) return fail(ERROR_PATH_NOT_FOUND);
  FileNode* node = m_.fileAt(*p);
  if (node == nullptr) return fail(missingError(*p));
  if (!node->isDirectory) return fail(kErrorDirectory);
  m_.currentDir = *p;
  m_.record("directory", {{"current", p->str()}});
  return TRUE;
}

// As CreateFileA fails it: no such file or folder (a drive without its medium answering
// ERROR_NOT_READY), a folder refused.
bool Files::CanOpenForReading(LPCSTR path) {
  const bool faulted = m_.injectFault("fopen", ERROR_ACCESS_DENIED);
  auto p = resolve(path);
  FileNode* node = p && !p->parts.empty() ? m_.fileAt(*p) : nullptr;
  const bool held = node != nullptr && m_.holds(*p);
  if (p) {
    // The machine remembers a file that is there but did not open this time: to the program it is
    // not there (the outcome check reads the machine as the program could).
    if ((faulted || held) && node != nullptr) {
      m_.unopenedFiles.insert(toUpper(p->str()));
    } else {
      m_.unopenedFiles.erase(toUpper(p->str()));
    }
  }
  if (faulted) return false;
  if (!p || p->parts.empty()) return fail(ERROR_PATH_NOT_FOUND);
  if (node == nullptr) return fail(missingError(*p));
  if (node->isDirectory) return fail(ERROR_ACCESS_DENIED);
  if (held) return fail(ERROR_SHARING_VIOLATION);
  return true;
}

}  // namespace tvx::sim
