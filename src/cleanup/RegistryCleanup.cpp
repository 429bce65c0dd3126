#include <cstring>
#include <vector>

#include "../core/Constants.h"
#include "../core/Scoped.h"
#include "../core/Text.h"
#include "Cleanup.h"

namespace tvx {

namespace {

const char* const kMediaResources = "System\\CurrentControlSet\\control\\MediaResources\\";
const char* const kMakerToken = "TARVIC";
const char* const kEarlierAsioClsid = "{3B6F04A2-91C7-4d5e-A83B-5C20E7F19D46}";
constexpr DWORD kNameBuffer = 80;
constexpr DWORD kMaxValuesExamined = 1000;

std::vector<std::string> subkeyNames(IRegistry& reg, HKEY key) {
  std::vector<std::string> names;
  char name[kNameBuffer];
  for (DWORD index = 0;; ++index) {
    DWORD size = kNameBuffer;
    if (reg.RegEnumKeyExA(key, index, name, &size) != ERROR_SUCCESS) break;
    names.emplace_back(name);
  }
  return names;
}

// Whether a MEDIA class instance belongs to the maker: its "ProviderName" (spelled exactly so)
// begins with the maker token, compared without regard to case.
bool isMakersInstance(IRegistry& reg, HKEY instance) {
  char name[kNameBuffer];
  for (DWORD index = 0; index < kMaxValuesExamined; ++index) {
    DWORD nameSize = kNameBuffer;
    if (reg.RegEnumValueA(instance, index, name, &nameSize, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (std::strcmp(name, "ProviderName") != 0) continue;
    char provider[kNameBuffer + 1] = {};
    DWORD size = kNameBuffer;
    if (reg.RegQueryValueExA(instance, name, nullptr, reinterpret_cast<BYTE*>(provider), &size) == ERROR_SUCCESS &&
        beginsWithNoCase(provider, kMakerToken)) {
      return true;
    }
  }
  return false;
}

void cleanMediaClass(const Platform& p) {
  IRegistry& reg = p.registry;
  ScopedKey media(reg, HKEY_LOCAL_MACHINE, kMediaClass, KEY_ENUMERATE_SUB_KEYS);
  if (!media.isOpen()) return;
  // Every instance is examined, however many the class holds.
  std::vector<std::string> instances;
  for (const std::string& name : subkeyNames(reg, media.get())) instances.push_back(name.substr(0, 4));
  media.close();

  for (const std::string& instance : instances) {
    const std::string path = std::string(kMediaClass) + "\\" + instance;
    ScopedKey key(reg, HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ);
    if (!key.isOpen() || !isMakersInstance(reg, key.get())) continue;
    reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
    key.close();
    for (const char* type : {"aux", "joystick", "midi", "mixer", "wave"}) {
      DeleteMediaResourceEntries(p, std::string(kMediaResources) + type, instance);
    }
  }
}

enum class DeviceKeys { NoneFound, Deleted, DeleteFailed };

// Deletes every subkey of an Enum key whose name begins with `prefix` (compared with case),
// starting the enumeration again after each deletion.
DeviceKeys deleteDeviceNodes(IRegistry& reg, const char* enumPath, const char* prefix) {
  const ScopedKey parent(reg, HKEY_LOCAL_MACHINE, enumPath, KEY_ENUMERATE_SUB_KEYS);
  if (!parent.isOpen()) return DeviceKeys::NoneFound;
  DeviceKeys result = DeviceKeys::NoneFound;
  const std::size_t prefixLength = std::strlen(prefix);
  char name[kNameBuffer];
  DWORD index = 0;
  while (true) {
    DWORD size = kNameBuffer;
    if (reg.RegEnumKeyExA(parent.get(), index, name, &size) != ERROR_SUCCESS) break;
    if (std::strncmp(name, prefix, prefixLength) == 0) {
      const std::string path = std::string(enumPath) + "\\" + name;
      ScopedKey node(reg, HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ);
      if (node.isOpen()) {
        const LONG deleted = reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
        node.close();
        if (deleted != ERROR_SUCCESS) {
          result = DeviceKeys::DeleteFailed;
          break;
        }
        result = DeviceKeys::Deleted;
        index = 0;  // the deletion shifted the indexes of the remaining subkeys
        continue;
      }
    }
    ++index;
  }
  return result;
}

void deleteIfOpens(IRegistry& reg, HKEY root, const char* path) {
  const ScopedKey key(reg, root, path, KEY_WRITE);
  if (key.isOpen()) reg.RegDeleteKeyA(root, path);
}

// Removes the earlier ASIO driver from the ASIO driver list; other drivers' entries stay, and
// the list itself goes only when nothing is left in it.
void removeEarlierAsioDriver(IRegistry& reg) {
  ScopedKey asio(reg, HKEY_LOCAL_MACHINE, "SOFTWARE\\ASIO", KEY_READ | KEY_WRITE);
  if (!asio.isOpen()) return;
  for (const std::string& name : subkeyNames(reg, asio.get())) {
    ScopedKey driver(reg, asio.get(), name.c_str(), KEY_READ);
    if (!driver.isOpen()) continue;
    char clsid[kNameBuffer] = {};
    DWORD size = sizeof(clsid) - 1;
    DWORD type = 0;
    const bool earlier =
        reg.RegQueryValueExA(driver.get(), "CLSID", &type, reinterpret_cast<BYTE*>(clsid), &size) == ERROR_SUCCESS &&
        type == REG_SZ && equalsNoCase(clsid, kEarlierAsioClsid);
    driver.close();
    if (earlier) reg.RegDeleteKeyA(asio.get(), name.c_str());
  }
  char name[kNameBuffer];
  DWORD nameSize = kNameBuffer;
  const bool anySubkey = reg.RegEnumKeyExA(asio.get(), 0, name, &nameSize) != static_cast<LONG>(ERROR_NO_MORE_ITEMS);
  nameSize = kNameBuffer;
  const bool anyValue = reg.RegEnumValueA(asio.get(), 0, name, &nameSize, nullptr, nullptr, nullptr) !=
                        static_cast<LONG>(ERROR_NO_MORE_ITEMS);
  asio.close();
  if (!anySubkey && !anyValue) reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ASIO");
}

}  // namespace

void DeleteMediaResourceEntries(const Platform& platform, const std::string& typeKeyPath, const std::string& instance) {
  IRegistry& reg = platform.registry;
  ScopedKey type(reg, HKEY_LOCAL_MACHINE, typeKeyPath.c_str(), KEY_READ);
  if (!type.isOpen()) return;
  std::vector<std::string> matches;
  for (const std::string& name : subkeyNames(reg, type.get())) {
    // The four characters before the last one: the instance number of "...<0001>".
    if (name.size() < 5 || matches.size() == 15) continue;
    if (equalsNoCase(name.substr(name.size() - 5, 4).c_str(), instance.c_str())) matches.push_back(name);
  }
  type.close();
  for (const std::string& name : matches) {
    const std::string path = typeKeyPath + "\\" + name;
    const ScopedKey entry(reg, HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ);
    if (entry.isOpen()) reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
  }
}

int CleanOldDriverRegistry(const Platform& platform) {
  IRegistry& reg = platform.registry;
  cleanMediaClass(platform);

  bool found = false;
  for (const auto& [enumPath, prefix] : {std::pair{"Enum\\PCI", "VEN_1D0C&DEV_01"}, std::pair{"Enum\\TVX", "CHILD"}}) {
    const DeviceKeys result = deleteDeviceNodes(reg, enumPath, prefix);
    if (result == DeviceKeys::DeleteFailed) return kDeviceKeyDeleteFailed;
    found = found || result == DeviceKeys::Deleted;
  }

  for (const char* path : {"Enum\\VIRTUAL\\SSC-SWMIDI", "Enum\\VIRTUAL\\SSC-DOSEMU", "Enum\\VIRTUAL\\SSC-LEGACY",
                           "Enum\\VIRTUAL\\SSC-SBEMU", "Enum\\VIRTUAL\\SSC-JOYSTK"}) {
    ScopedKey key(reg, HKEY_LOCAL_MACHINE, path, KEY_READ);
    if (!key.isOpen()) continue;
    const LONG deleted = reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
    key.close();
    if (deleted != ERROR_SUCCESS) return kVirtualKeyDeleteFailed;
    found = true;
  }

  if (!found) return kNoDeviceKeyFound;

  deleteIfOpens(reg, HKEY_CLASSES_ROOT, "Spatial");
  deleteIfOpens(reg, HKEY_CLASSES_ROOT, "CLSID\\{5A17C3E2-0B4D-4F8A-9C61-2D7E8B3F4A90}");
  removeEarlierAsioDriver(reg);
  deleteIfOpens(reg, HKEY_CLASSES_ROOT, "CLSID\\{3B6F04A2-91C7-4d5e-A83B-5C20E7F19D46}");
  return kRegistryCleaned;
}

}  // namespace tvx
