#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SimMachine.h"

namespace tvx {
namespace {

using test::SimMachine;

// The names of a key's subkeys, as RegEnumKeyExA lists them.
std::string subkeys(IRegistry& reg, HKEY key) {
  std::string listed;
  char name[80];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof(name);
    if (reg.RegEnumKeyExA(key, i, name, &size) != 0) return listed;
    listed += std::string(name) + ",";
  }
}

TEST(SimRegistry, NamesAreComparedWithoutCaseAndSubkeysListInTheFamilysOrder) {
  // The NT family lists subkeys by name; the 95 family in the order they were made.
  for (const char* os : {"win98se", "winxp"}) {
    SimMachine m(os);
    m.registry(
        "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\b]\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\A]\r\n\"Value\"=\"v\"\r\n"
        "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\c]\r\n");
    IRegistry& reg = m.platform().registry;
    HKEY key = nullptr;
    ASSERT_EQ(reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "enum\\pci", 0, KEY_READ, &key), 0) << os;
    EXPECT_EQ(subkeys(reg, key), std::string(os) == "winxp" ? "A,b,c," : "b,A,c,") << os;
    HKEY a = nullptr;
    ASSERT_EQ(reg.RegOpenKeyExA(key, "a", 0, KEY_READ, &a), 0) << os;
    char data[16];
    DWORD size = sizeof(data);
    DWORD type = 0;
    EXPECT_EQ(reg.RegQueryValueExA(a, "VALUE", &type, reinterpret_cast<BYTE*>(data), &size), 0) << os;
    EXPECT_EQ(type, REG_SZ) << os;
    EXPECT_EQ(size, 2u) << os;
    EXPECT_STREQ(data, "v") << os;
    reg.RegCloseKey(a);
    reg.RegCloseKey(key);
  }
}

TEST(SimRegistry, ShortBuffersGiveMoreDataAndTheNeededSize) {
  SimMachine m;
  const std::string longName(80, 'K');
  m.registry("[HKEY_LOCAL_MACHINE\\Top\\" + longName + "]\r\n[HKEY_LOCAL_MACHINE\\Top]\r\n\"Text\"=\"abcdef\"\r\n");
  IRegistry& reg = m.platform().registry;
  HKEY key = nullptr;
  ASSERT_EQ(reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Top", 0, KEY_READ, &key), 0);
  char name[80];
  DWORD nameSize = sizeof(name);
  EXPECT_EQ(reg.RegEnumKeyExA(key, 0, name, &nameSize), static_cast<LONG>(ERROR_MORE_DATA))
      << "an 80-character name does not fit an 80-character buffer with its NUL";
  char data[4];
  DWORD size = sizeof(data);
  EXPECT_EQ(reg.RegQueryValueExA(key, "Text", nullptr, reinterpret_cast<BYTE*>(data), &size),
            static_cast<LONG>(ERROR_MORE_DATA));
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(reg.RegQueryValueExA(key, "Missing", nullptr, nullptr, &size), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  reg.RegCloseKey(key);
}

TEST(SimRegistry, Windows95FamilyDeletesTheSubtreeAndNtRefuses) {
  const char* tree = "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111\\BUS_00]\r\n\"x\"=\"y\"\r\n";
  SimMachine win98("win98se");
  win98.registry(tree);
  EXPECT_EQ(win98.platform().registry.RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1D0C&DEV_0111"), 0);
  EXPECT_FALSE(win98.hasKey(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1D0C&DEV_0111"));
  EXPECT_TRUE(win98.hasKey(HKEY_LOCAL_MACHINE, "Enum\\PCI"));

  SimMachine xp("winxp");
  xp.registry(tree);
  EXPECT_EQ(xp.platform().registry.RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1D0C&DEV_0111"),
            static_cast<LONG>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(xp.hasKey(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1D0C&DEV_0111\\BUS_00"));
}

TEST(SimRegistry, AHandleToADeletedKeyFailsAndUndeletableKeysStay) {
  SimMachine m;
  m.registry("[HKEY_LOCAL_MACHINE\\A\\B]\r\n[HKEY_LOCAL_MACHINE\\A\\Locked]\r\n");
  m.machine.undeletableKeys.insert("hkey_local_machine\\a\\locked");
  IRegistry& reg = m.platform().registry;
  HKEY b = nullptr;
  ASSERT_EQ(reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A\\B", 0, KEY_READ, &b), 0);
  ASSERT_EQ(reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, "A\\B"), 0);
  DWORD size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(b, "x", nullptr, nullptr, &size), static_cast<LONG>(ERROR_KEY_DELETED));
  EXPECT_EQ(reg.RegCloseKey(b), 0);
  EXPECT_EQ(reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, "A\\Locked"), static_cast<LONG>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(reg.RegDeleteKeyA(HKEY_LOCAL_MACHINE, "A\\Gone"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST(SimRegistry, ClassesRootIsTheClassesKeyOfTheMachine) {
  SimMachine m;
  m.registry("[HKEY_CLASSES_ROOT\\Spatial]\r\n@=\"3-D\"\r\n");
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Spatial"));
  EXPECT_EQ(m.platform().registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "spatial"), 0);
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\Spatial"));
}

TEST(SimRegistry, ValuesEnumerateInTheOrderWritten) {
  SimMachine m;
  m.registry("[HKEY_CURRENT_USER\\K]\r\n\"Zeta\"=\"1\"\r\n\"alpha\"=dword:00000002\r\n");
  IRegistry& reg = m.platform().registry;
  HKEY k = nullptr;
  ASSERT_EQ(reg.RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_ALL_ACCESS, &k), 0);
  const char text[] = "new";
  reg.RegSetValueExA(k, "Middle", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
  reg.RegSetValueExA(k, "ZETA", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
  std::string order;
  char name[80];
  BYTE data[16];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof(name);
    DWORD dataSize = sizeof(data);
    DWORD type = 0;
    if (reg.RegEnumValueA(k, i, name, &nameSize, &type, data, &dataSize) != 0) break;
    order += std::string(name) + "=" + (type == REG_SZ ? reinterpret_cast<char*>(data) : "dword") + ";";
  }
  EXPECT_EQ(order, "Zeta=new;alpha=dword;Middle=new;");
  EXPECT_EQ(reg.RegDeleteValueA(k, "zeta"), 0);
  EXPECT_EQ(reg.RegDeleteValueA(k, "zeta"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  reg.RegCloseKey(k);
  EXPECT_EQ(m.sim.registry().openHandles(), 0u);
}

TEST(SimRegistry, TheNtFamilyHoldsAHandleToItsRightsAndThe95FamilyDoesNot) {
  const char text[] = "abc";
  const auto* bytes = reinterpret_cast<const BYTE*>(text);
  for (const char* os : {"winme", "win2k"}) {
    SimMachine m(os);
    m.registry(
        "[HKEY_LOCAL_MACHINE\\Software\\T]\r\n\"Name\"=\"old\"\r\n\"Other\"=\"x\"\r\n[HKEY_LOCAL_"
        "MACHINE\\Software\\T\\Sub]\r\n");
    IRegistry& reg = m.platform().registry;
    const LONG denied = std::string(os) == "win2k" ? static_cast<LONG>(ERROR_ACCESS_DENIED) : 0;
    HKEY query = nullptr;
    ASSERT_EQ(reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\T", 0, KEY_QUERY_VALUE, &query), 0);
    EXPECT_EQ(reg.RegSetValueExA(query, "Name", REG_SZ, bytes, sizeof(text)), denied) << os;
    EXPECT_EQ(reg.RegDeleteValueA(query, "Other"), denied) << os;
    char name[16];
    DWORD size = sizeof(name);
    EXPECT_EQ(reg.RegEnumKeyExA(query, 0, name, &size), denied) << os;
    HKEY sub = nullptr;
    EXPECT_EQ(reg.RegCreateKeyExA(query, "Sub", &sub, nullptr), 0) << "an existing subkey opens: " << os;
    reg.RegCloseKey(sub);
    EXPECT_EQ(reg.RegCreateKeyExA(query, "New", &sub, nullptr), denied) << os;
    if (denied == 0) reg.RegCloseKey(sub);
    size = sizeof(name);
    EXPECT_EQ(reg.RegQueryValueExA(query, "Name", nullptr, reinterpret_cast<BYTE*>(name), &size), 0);
    reg.RegCloseKey(query);

    HKEY set = nullptr;
    ASSERT_EQ(reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\T", 0, KEY_SET_VALUE, &set), 0);
    size = sizeof(name);
    EXPECT_EQ(reg.RegQueryValueExA(set, "Name", nullptr, reinterpret_cast<BYTE*>(name), &size), denied) << os;
    EXPECT_EQ(reg.RegSetValueExA(set, "Name", REG_SZ, bytes, sizeof(text)), 0);
    reg.RegCloseKey(set);
    EXPECT_EQ(m.sim.registry().openHandles(), 0u);
  }
}

TEST(SimRegistry, The95FamilyKeepsAStringWithItsOwnLength) {
  const char padded[16] = "abc";
  for (const char* os : {"win95", "winxp"}) {
    SimMachine m(os);
    IRegistry& reg = m.platform().registry;
    HKEY k = nullptr;
    ASSERT_EQ(reg.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\T", &k, nullptr), 0);
    ASSERT_EQ(reg.RegSetValueExA(k, "Padded", REG_SZ, reinterpret_cast<const BYTE*>(padded), sizeof(padded)), 0);
    ASSERT_EQ(reg.RegSetValueExA(k, "Short", REG_SZ, reinterpret_cast<const BYTE*>(padded), 3), 0);
    const BYTE number[4] = {1, 0, 0, 0};
    ASSERT_EQ(reg.RegSetValueExA(k, "Number", REG_BINARY, number, sizeof(number)), 0);
    DWORD size = 0;
    ASSERT_EQ(reg.RegQueryValueExA(k, "Padded", nullptr, nullptr, &size), 0);
    EXPECT_EQ(size, std::string(os) == "win95" ? 4u : 16u) << os;
    char data[16] = {};
    size = sizeof(data);
    ASSERT_EQ(reg.RegQueryValueExA(k, "Short", nullptr, reinterpret_cast<BYTE*>(data), &size), 0);
    // Given without its NUL, the string ends where the caller said on both families.
    EXPECT_EQ(std::string(data), "abc") << os;
    EXPECT_EQ(size, std::string(os) == "win95" ? 4u : 3u) << os;
    size = 0;
    ASSERT_EQ(reg.RegQueryValueExA(k, "Number", nullptr, nullptr, &size), 0);
    EXPECT_EQ(size, 4u) << "binary data keeps its size: " << os;
    reg.RegCloseKey(k);
  }
}

}  // namespace
}  // namespace tvx
