// The registry of the simulated machine: keys and value names compared without regard to case,
// subkeys held in the order they were made (the Windows 95 family lists them so; the NT family and
// Wine list them by name), values in the order written.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../WinTypes.h"

namespace tvx::sim {

struct RegValue {
  std::string name;
  DWORD type = REG_SZ;
  std::vector<BYTE> data;

  static RegValue string(const std::string& name, const std::string& text, DWORD type = REG_SZ);
  static RegValue dword(const std::string& name, DWORD value);
  std::string text() const;  // the data of a string value, without its terminating NUL
};

struct RegKey : std::enable_shared_from_this<RegKey> {
  std::string name;
  RegKey* parent = nullptr;
  bool deleted = false;                            // set on a key and its subtree when deleted; open handles then fail
  std::vector<std::shared_ptr<RegKey>> subkeys;    // in the order they were made
  std::unordered_map<std::string, RegKey*> index;  // the subkeys by name in upper case
  std::vector<RegValue> values;

  RegKey* subkey(std::string_view keyName) const;
  RegKey& addSubkey(const std::string& keyName);
  const RegValue* value(std::string_view valueName) const;
  void setValue(RegValue v);
  bool removeValue(std::string_view valueName);
  std::string path() const;  // below its root, e.g. "Software\Microsoft"
};

// The five roots. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes, as on Windows.
class RegistryTree {
 public:
  RegistryTree();
  RegistryTree(const RegistryTree& other);
  RegistryTree& operator=(const RegistryTree& other);

  // The key behind a predefined handle; null for any other handle.
  RegKey* root(HKEY predefined);
  // HKEY_LOCAL_MACHINE, for looking keys up in a registry that is only read.
  const RegKey* localMachine() const { return localMachine_.get(); }
  // The root by its .reg file name ("HKEY_LOCAL_MACHINE", "HKLM", ...).
  RegKey* rootByName(std::string_view name);
  static const char* rootName(HKEY predefined);
  std::vector<std::pair<std::string, RegKey*>> roots() const;  // for writing .reg files

  RegKey* find(RegKey* from, std::string_view path) const;
  const RegKey* find(const RegKey* from, std::string_view path) const;
  RegKey& create(RegKey* from, std::string_view path);
  // Deletes a key with its whole subtree.
  void remove(RegKey* key);

 private:
  std::shared_ptr<RegKey> localMachine_;
  std::shared_ptr<RegKey> users_;
  std::shared_ptr<RegKey> currentUser_;
  std::shared_ptr<RegKey> currentConfig_;
};

}  // namespace tvx::sim
