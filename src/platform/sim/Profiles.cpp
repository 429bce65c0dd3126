#include <cstdlib>
#include <cstring>

#include "IniText.h"
#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {

// Copies a value as the profile functions do: one pair of surrounding quotes is dropped and the
// text is cut to the buffer. Returns the number of characters copied.
DWORD copyValue(const std::string& value, LPSTR buffer, DWORD size) {
  std::string text = value;
  if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
    text = text.substr(1, text.size() - 2);
  }
  DWORD n = std::min<DWORD>(static_cast<DWORD>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

// A list of names, each closed by a NUL and the list by a second NUL, cut to the buffer.
DWORD copyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string all;
  for (const auto& n : names) all += n + '\0';
  if (size < 2) {
    if (size == 1) buffer[0] = '\0';
    return 0;
  }
  if (all.size() + 1 <= size) {
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = '\0';
    if (all.empty()) buffer[1] = '\0';
    return static_cast<DWORD>(all.size());
  }
  std::memcpy(buffer, all.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

}  // namespace

// Reading a file's entries one by one parses it once: the last text parsed is kept, as Windows
// keeps the last profile file it read.
const IniText& Profiles::parsed(const std::string& text) {
  if (!cachedText_ || *cachedText_ != text) {
    cachedText_ = text;
    cachedIni_ = IniText(text);
  }
  return cachedIni_;
}

std::optional<WinPath> Profiles::profilePath(LPCSTR file) const {
  if (file == nullptr) return std::nullopt;
  std::string name(file);
  if (name.find('\\') == std::string::npos && name.find('/') == std::string::npos) {
    return resolvePath(name, m_.windowsPath());
  }
  return files_.resolve(file);
}

DWORD Profiles::GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                         LPCSTR file) {
  return readString(section, key, defaultValue, buffer, size, file, m_.injectFault("GetPrivateProfileStringA"));
}

// A file that cannot be read gives what a missing one gives: the default.
DWORD Profiles::readString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size, LPCSTR file,
                           bool unreadable) {
  if (buffer == nullptr || size == 0) return 0;
  auto path = profilePath(file);
  FileNode* node = path && !unreadable ? m_.fileAt(*path) : nullptr;
  const IniText& ini = parsed(node != nullptr && !node->isDirectory ? node->data : std::string());
  if (section == nullptr) return copyList(ini.sections(), buffer, size);
  if (key == nullptr) return copyList(ini.keys(section), buffer, size);
  if (auto value = ini.get(section, key)) return copyValue(*value, buffer, size);
  std::string def = defaultValue != nullptr ? defaultValue : "";
  while (!def.empty() && def.back() == ' ') def.pop_back();
  DWORD n = std::min<DWORD>(static_cast<DWORD>(def.size()), size - 1);
  std::memcpy(buffer, def.data(), n);
  buffer[n] = '\0';
  if (node == nullptr) m_.lastError = path ? files_.missingError(*path) : ERROR_FILE_NOT_FOUND;
  return n;
}

UINT Profiles::GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) {
  char buffer[30];
  if (readString(section, key, "", buffer, sizeof(buffer), file, m_.injectFault("GetPrivateProfileIntA")) == 0) {
    return static_cast<UINT>(defaultValue);
  }
  // Leading blanks, an optional sign, an optional base prefix ("0x", "0o", "0b"), then the
  // digits of that base; anything after them is ignored.
  const char* p = buffer;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  UINT base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) base = 16;
  if (p[0] == '0' && (p[1] == 'o' || p[1] == 'O')) base = 8;
  if (p[0] == '0' && (p[1] == 'b' || p[1] == 'B')) base = 2;
  if (base != 10) p += 2;
  UINT value = 0;
  while (true) {
    const char c = *p++;
    UINT digit = 99;
    if (c >= '0' && c <= '9') digit = static_cast<UINT>(c - '0');
    if (c >= 'a' && c <= 'f') digit = static_cast<UINT>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') digit = static_cast<UINT>(c - 'A' + 10);
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

BOOL Profiles::WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  auto path = profilePath(file);
  if (!path || section == nullptr) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  FileNode* node = m_.fileAt(*path);
  IniText ini(node != nullptr && !node->isDirectory ? node->data : std::string());
  const std::optional<std::string> was = key != nullptr ? ini.get(section, key) : std::nullopt;
  BOOL written = FALSE;
  if (m_.injectFault("WritePrivateProfileStringA")) {
    m_.lastError = ERROR_DISK_FULL;
  } else {
    written = write(*path, node, ini, section, key, value);
  }
  m_.record("ini", {{"file", path->str()},
                    {"section", section},
                    {"key", key != nullptr ? key : "(whole section)"},
                    {"value", value != nullptr ? value : "(deleted)"},
                    {"was", was ? *was : "(none)"},
                    {"result", written ? "written" : "failed, error " + std::to_string(m_.lastError)}});
  return written;
}

BOOL Profiles::write(const WinPath& path, FileNode* node, IniText& ini, LPCSTR section, LPCSTR key, LPCSTR value) {
  if (!m_.hasMedium(path.drive)) {
    m_.lastError = ERROR_NOT_READY;
    return FALSE;
  }
  if (node != nullptr) {
    if (DWORD refused = files_.writeRefusal(path, node); refused != ERROR_SUCCESS) {
      m_.lastError = refused;
      return FALSE;
    }
  }
  if (key == nullptr) {
    ini.removeSection(section);
  } else if (value == nullptr) {
    ini.removeKey(section, key);
  } else {
    ini.set(section, key, value);
  }
  if (node == nullptr && key != nullptr && value == nullptr) return TRUE;  // nothing to delete, no file made
  if (node == nullptr && files_.missingError(path) == ERROR_FILE_NOT_FOUND) {
    if (DWORD refused = files_.createRefusal(path); refused != ERROR_SUCCESS) {
      m_.lastError = refused;
      return FALSE;
    }
  }
  if (m_.files.writeFile(path, ini.text()) == nullptr) {
    m_.lastError = ERROR_PATH_NOT_FOUND;
    return FALSE;
  }
  return TRUE;
}

}  // namespace tvx::sim
