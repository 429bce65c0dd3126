#include <algorithm>
#include <cstring>

#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {

std::string fullName(RegistryTree& tree, RegKey& key) {
  for (const auto& [name, root] : tree.roots()) {
    RegKey* k = &key;
    while (k->parent != nullptr) k = k->parent;
    if (k == root) return key.path().empty() ? name : name + "\\" + key.path();
  }
  return key.path();
}

}  // namespace

LONG Registry::lookUp(HKEY key, RegKey** out, REGSAM needed) {
  if (RegKey* root = m_.registry.root(key)) {
    *out = root;
    return ERROR_SUCCESS;
  }
  auto it = handles_.find(reinterpret_cast<std::uintptr_t>(key));
  if (it == handles_.end()) return ERROR_INVALID_HANDLE;
  if (it->second.key->deleted) return ERROR_KEY_DELETED;
  if (!m_.os.isWindows9x() && (it->second.access & needed) != needed) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  *out = it->second.key.get();
  return ERROR_SUCCESS;
}

HKEY Registry::newHandle(RegKey& key, REGSAM access) {
  std::uintptr_t id = nextHandle_;
  nextHandle_ += 4;
  handles_[id] = OpenKey{key.shared_from_this(), access};
  return reinterpret_cast<HKEY>(id);
}

LONG Registry::RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
  if (m_.injectFault("RegOpenKeyExA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* from = nullptr;
  if (LONG rc = lookUp(key, &from); rc != ERROR_SUCCESS) return rc;
  RegKey* found = m_.registry.find(from, subKey != nullptr ? subKey : "");
  if (found == nullptr) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
  *result = newHandle(*found, access);
  return ERROR_SUCCESS;
}

LONG Registry::RegCreateKeyExA(HKEY key, LPCSTR subKey, PHKEY result, LPDWORD disposition) {
  if (m_.injectFault("RegCreateKeyExA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* from = nullptr;
  if (LONG rc = lookUp(key, &from); rc != ERROR_SUCCESS) return rc;
  std::string path = subKey != nullptr ? subKey : "";
  RegKey* found = m_.registry.find(from, path);
  if (found == nullptr) {
    if (LONG rc = lookUp(key, &from, KEY_CREATE_SUB_KEY); rc != ERROR_SUCCESS) return rc;
  }
  if (disposition != nullptr) *disposition = found != nullptr ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  RegKey& key2 = found != nullptr ? *found : m_.registry.create(from, path);
  *result = newHandle(key2, KEY_ALL_ACCESS);
  return ERROR_SUCCESS;
}

LONG Registry::RegCloseKey(HKEY key) {
  if (m_.registry.root(key) != nullptr) return ERROR_SUCCESS;
  return handles_.erase(reinterpret_cast<std::uintptr_t>(key)) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG Registry::RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (m_.injectFault("RegQueryValueExA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* k = nullptr;
  if (LONG rc = lookUp(key, &k, KEY_QUERY_VALUE); rc != ERROR_SUCCESS) return rc;
  m_.asked(std::string("registry value ") + (name != nullptr && *name != '\0' ? name : "(default)"));
  const RegValue* v = k->value(name != nullptr ? name : "");
  if (v == nullptr) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
  if (type != nullptr) *type = v->type;
  const auto needed = static_cast<DWORD>(v->data.size());
  if (size == nullptr) return data == nullptr ? ERROR_SUCCESS : static_cast<LONG>(ERROR_INVALID_PARAMETER);
  if (data != nullptr && *size < needed) {
    *size = needed;
    return static_cast<LONG>(ERROR_MORE_DATA);
  }
  if (data != nullptr && needed > 0) std::memcpy(data, v->data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LONG Registry::RegSetValueExA(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
  if (m_.injectFault("RegSetValueExA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* k = nullptr;
  if (LONG rc = lookUp(key, &k, KEY_SET_VALUE); rc != ERROR_SUCCESS) return rc;
  RegValue v;
  v.name = name != nullptr ? name : "";
  v.type = type;
  if (data != nullptr) v.data.assign(data, data + size);
  if (m_.os.isWindows9x() && type == REG_SZ && data != nullptr) {
    // The 95 family keeps a string with its own length and terminating NUL, whatever size was given.
    const auto nul = std::find(v.data.begin(), v.data.end(), BYTE{0});
    v.data.erase(nul, v.data.end());
    v.data.push_back(0);
  }
  k->setValue(std::move(v));
  return ERROR_SUCCESS;
}

LONG Registry::RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize) {
  if (m_.injectFault("RegEnumKeyExA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* k = nullptr;
  if (LONG rc = lookUp(key, &k, KEY_ENUMERATE_SUB_KEYS); rc != ERROR_SUCCESS) return rc;
  if (index >= k->subkeys.size()) return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
  // The 95 family lists subkeys in the order they were made; the NT family by name.
  const RegKey* sub = k->subkeys[index].get();
  if (!m_.os.isWindows9x()) {
    std::vector<const RegKey*> sorted;
    for (const auto& s : k->subkeys) sorted.push_back(s.get());
    std::nth_element(sorted.begin(), sorted.begin() + index, sorted.end(),
                     [](const RegKey* a, const RegKey* b) { return iless(a->name, b->name); });
    sub = sorted[index];
  }
  const std::string& n = sub->name;
  if (n.size() >= *nameSize) return static_cast<LONG>(ERROR_MORE_DATA);
  std::memcpy(name, n.c_str(), n.size() + 1);
  *nameSize = static_cast<DWORD>(n.size());
  return ERROR_SUCCESS;
}

LONG Registry::RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) {
  if (m_.injectFault("RegEnumValueA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* k = nullptr;
  if (LONG rc = lookUp(key, &k, KEY_QUERY_VALUE); rc != ERROR_SUCCESS) return rc;
  if (index >= k->values.size()) return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
  const RegValue& v = k->values[index];
  if (v.name.size() >= *nameSize) return static_cast<LONG>(ERROR_MORE_DATA);
  const auto needed = static_cast<DWORD>(v.data.size());
  if (data != nullptr && dataSize != nullptr && *dataSize < needed) {
    *dataSize = needed;
    return static_cast<LONG>(ERROR_MORE_DATA);
  }
  std::memcpy(name, v.name.c_str(), v.name.size() + 1);
  *nameSize = static_cast<DWORD>(v.name.size());
  if (type != nullptr) *type = v.type;
  if (data != nullptr && needed > 0) std::memcpy(data, v.data.data(), needed);
  if (dataSize != nullptr) *dataSize = needed;
  return ERROR_SUCCESS;
}

LONG Registry::RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  if (m_.injectFault("RegDeleteKeyA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* from = nullptr;
  if (LONG rc = lookUp(key, &from); rc != ERROR_SUCCESS) return rc;
  if (subKey == nullptr || *subKey == '\0') return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* target = m_.registry.find(from, subKey);
  if (target == nullptr) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
  for (const auto& denied : m_.undeletableKeys) {
    if (iequals(denied, fullName(m_.registry, *target))) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  }
  // The NT family refuses to delete a key that still has subkeys; the Windows 95 family
  // deletes the whole subtree.
  if (!m_.os.isWindows9x() && !target->subkeys.empty()) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  m_.registry.remove(target);
  return ERROR_SUCCESS;
}

LONG Registry::RegDeleteValueA(HKEY key, LPCSTR name) {
  if (m_.injectFault("RegDeleteValueA")) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  RegKey* k = nullptr;
  if (LONG rc = lookUp(key, &k, KEY_SET_VALUE); rc != ERROR_SUCCESS) return rc;
  return k->removeValue(name != nullptr ? name : "") ? ERROR_SUCCESS : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
}

}  // namespace tvx::sim
