#include "RegistryTree.h"

#include <algorithm>

#include "Text.h"

namespace tvx::sim {

namespace {

std::shared_ptr<RegKey> cloneKey(const RegKey& key, RegKey* parent) {
  auto copy = std::make_shared<RegKey>();
  copy->name = key.name;
  copy->parent = parent;
  copy->values = key.values;
  for (const auto& sub : key.subkeys) {
    copy->subkeys.push_back(cloneKey(*sub, copy.get()));
    copy->index[toUpper(sub->name)] = copy->subkeys.back().get();
  }
  return copy;
}

void markDeleted(RegKey& key) {
  key.deleted = true;
  for (auto& sub : key.subkeys) markDeleted(*sub);
}

std::shared_ptr<RegKey> makeRoot(const char* name) {
  auto key = std::make_shared<RegKey>();
  key->name = name;
  return key;
}

}  // namespace

RegValue RegValue::string(const std::string& name, const std::string& text, DWORD type) {
  RegValue v;
  v.name = name;
  v.type = type;
  v.data.assign(text.begin(), text.end());
  v.data.push_back(0);
  return v;
}

RegValue RegValue::dword(const std::string& name, DWORD value) {
  RegValue v;
  v.name = name;
  v.type = REG_DWORD;
  for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<BYTE>(value >> (8 * i)));
  return v;
}

std::string RegValue::text() const {
  std::string s(data.begin(), data.end());
  auto nul = s.find('\0');
  return nul == std::string::npos ? s : s.substr(0, nul);
}

RegKey* RegKey::subkey(std::string_view keyName) const {
  auto it = index.find(toUpper(keyName));
  return it == index.end() ? nullptr : it->second;
}

RegKey& RegKey::addSubkey(const std::string& keyName) {
  if (RegKey* existing = subkey(keyName)) return *existing;
  auto key = std::make_shared<RegKey>();
  key->name = keyName;
  key->parent = this;
  index[toUpper(keyName)] = key.get();
  subkeys.push_back(std::move(key));
  return *subkeys.back();
}

const RegValue* RegKey::value(std::string_view valueName) const {
  for (const auto& v : values) {
    if (iequals(v.name, valueName)) return &v;
  }
  return nullptr;
}

void RegKey::setValue(RegValue v) {
  for (auto& existing : values) {
    if (iequals(existing.name, v.name)) {
      existing.type = v.type;
      existing.data = std::move(v.data);
      return;
    }
  }
  values.push_back(std::move(v));
}

bool RegKey::removeValue(std::string_view valueName) {
  auto it = std::find_if(values.begin(), values.end(), [&](const RegValue& v) { return iequals(v.name, valueName); });
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

std::string RegKey::path() const {
  if (parent == nullptr) return {};
  std::string above = parent->path();
  return above.empty() ? name : above + "\\" + name;
}

RegistryTree::RegistryTree()
    : localMachine_(makeRoot("HKEY_LOCAL_MACHINE")),
      users_(makeRoot("HKEY_USERS")),
      currentUser_(makeRoot("HKEY_CURRENT_USER")),
      currentConfig_(makeRoot("HKEY_CURRENT_CONFIG")) {}

RegistryTree::RegistryTree(const RegistryTree& other) { *this = other; }

RegistryTree& RegistryTree::operator=(const RegistryTree& other) {
  if (this == &other) return *this;
  localMachine_ = cloneKey(*other.localMachine_, nullptr);
  users_ = cloneKey(*other.users_, nullptr);
  currentUser_ = cloneKey(*other.currentUser_, nullptr);
  currentConfig_ = cloneKey(*other.currentConfig_, nullptr);
  return *this;
}

RegKey* RegistryTree::root(HKEY predefined) {
  if (predefined == HKEY_LOCAL_MACHINE) return localMachine_.get();
  if (predefined == HKEY_USERS) return users_.get();
  if (predefined == HKEY_CURRENT_USER) return currentUser_.get();
  if (predefined == HKEY_CURRENT_CONFIG) return currentConfig_.get();
  if (predefined == HKEY_CLASSES_ROOT) return &create(localMachine_.get(), "SOFTWARE\\Classes");
  return nullptr;
}

RegKey* RegistryTree::rootByName(std::string_view name) {
  struct Alias {
    const char* longName;
    const char* shortName;
    HKEY key;
  };
  static const Alias aliases[] = {{"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
                                  {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
                                  {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
                                  {"HKEY_USERS", "HKU", HKEY_USERS},
                                  {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG}};
  for (const auto& a : aliases) {
    if (iequals(name, a.longName) || iequals(name, a.shortName)) return root(a.key);
  }
  return nullptr;
}

const char* RegistryTree::rootName(HKEY predefined) {
  if (predefined == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (predefined == HKEY_USERS) return "HKEY_USERS";
  if (predefined == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (predefined == HKEY_CURRENT_CONFIG) return "HKEY_CURRENT_CONFIG";
  if (predefined == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  return "";
}

std::vector<std::pair<std::string, RegKey*>> RegistryTree::roots() const {
  return {{"HKEY_LOCAL_MACHINE", localMachine_.get()},
          {"HKEY_CURRENT_CONFIG", currentConfig_.get()},
          {"HKEY_CURRENT_USER", currentUser_.get()},
          {"HKEY_USERS", users_.get()}};
}

RegKey* RegistryTree::find(RegKey* from, std::string_view path) const {
  RegKey* key = from;
  for (const auto& part : split(path, '\\')) {
    if (key == nullptr) return nullptr;
    if (part.empty()) continue;
    key = key->subkey(part);
  }
  return key;
}

const RegKey* RegistryTree::find(const RegKey* from, std::string_view path) const {
  const RegKey* key = from;
  for (const auto& part : split(path, '\\')) {
    if (key == nullptr) return nullptr;
    if (part.empty()) continue;
    key = key->subkey(part);
  }
  return key;
}

RegKey& RegistryTree::create(RegKey* from, std::string_view path) {
  RegKey* key = from;
  for (const auto& part : split(path, '\\')) {
    if (!part.empty()) key = &key->addSubkey(part);
  }
  return *key;
}

void RegistryTree::remove(RegKey* key) {
  if (key == nullptr || key->parent == nullptr) return;
  markDeleted(*key);
  key->parent->index.erase(toUpper(key->name));
  auto& siblings = key->parent->subkeys;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                [key](const std::shared_ptr<RegKey>& k) { return k.get() == key; }),
                 siblings.end());
}

}  // namespace tvx::sim
