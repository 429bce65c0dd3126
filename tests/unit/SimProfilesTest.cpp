#include <gtest/gtest.h>

#include "SimMachine.h"

namespace tvx {
namespace {

using test::SimMachine;

std::string read(IProfiles& profiles, const char* section, const char* key, const char* file, DWORD size = 64) {
  char buffer[256];
  profiles.GetPrivateProfileStringA(section, key, "(default)", buffer, size, file);
  return buffer;
}

TEST(SimProfiles, RewritesKeepTheKeysPlaceAndNewKeysEndTheirSection) {
  SimMachine m;
  m.file("C:\\WINDOWS\\WININIT.INI", "; queue\r\n[Rename]\r\nC:\\A.OLD=C:\\A.DLL\r\n\r\n[Other]\r\nx=1\r\n");
  IProfiles& profiles = m.platform().profiles;
  EXPECT_TRUE(profiles.WritePrivateProfileStringA("rename", "NUL", "C:\\B.DLL", "WININIT.INI"));
  EXPECT_TRUE(profiles.WritePrivateProfileStringA("rename", "c:\\a.old", "C:\\C.DLL", "WININIT.INI"));
  EXPECT_TRUE(profiles.WritePrivateProfileStringA("rename", "nul", "C:\\D.DLL", "WININIT.INI"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\WININIT.INI"),
            "; queue\r\n[Rename]\r\nC:\\A.OLD=C:\\C.DLL\r\nNUL=C:\\D.DLL\r\n\r\n[Other]\r\nx=1\r\n");
}

TEST(SimProfiles, ReadsTrimBlanksAndOnePairOfQuotes) {
  SimMachine m;
  m.file("D:\\setup.ini", "[ InstallOption ]\r\n  WebSetup = 2  \r\nName=\"quoted\"\r\nHalf=\"open\r\n");
  IProfiles& profiles = m.platform().profiles;
  EXPECT_EQ(read(profiles, "installoption", "websetup", "D:\\setup.ini"), "2");
  EXPECT_EQ(read(profiles, "InstallOption", "Name", "D:\\setup.ini"), "quoted");
  EXPECT_EQ(read(profiles, "InstallOption", "Half", "D:\\setup.ini"), "\"open");
  EXPECT_EQ(read(profiles, "InstallOption", "Name", "D:\\setup.ini", 4), "quo");
  EXPECT_EQ(read(profiles, "InstallOption", "Missing", "D:\\setup.ini"), "(default)");
  EXPECT_EQ(read(profiles, "InstallOption", "WebSetup", "D:\\absent.ini"), "(default)");
}

TEST(SimProfiles, IntegersReadTheirLeadingDigits) {
  SimMachine m;
  m.file("D:\\setup.ini", "[O]\r\nplain=12\r\ntail=3 drivers\r\nword=yes\r\nempty=\r\nminus=-1\r\nquoted=\"7\"\r\n");
  IProfiles& profiles = m.platform().profiles;
  auto get = [&](const char* key) {
    return static_cast<int>(profiles.GetPrivateProfileIntA("O", key, 5, "D:\\setup.ini"));
  };
  EXPECT_EQ(get("plain"), 12);
  EXPECT_EQ(get("tail"), 3);
  EXPECT_EQ(get("word"), 0);
  EXPECT_EQ(get("empty"), 5);
  EXPECT_EQ(get("minus"), -1);
  EXPECT_EQ(get("quoted"), 7);
  EXPECT_EQ(get("missing"), 5);
}

TEST(SimProfiles, WritesThatCannotLandFail) {
  SimMachine m;
  m.file("C:\\WINDOWS\\locked.ini", "[a]\r\nb=c\r\n");
  m.machine.files.find(*sim::parseAbsolutePath("C:\\WINDOWS\\locked.ini"))->attributes = FILE_ATTRIBUTE_READONLY;
  IProfiles& profiles = m.platform().profiles;
  EXPECT_FALSE(profiles.WritePrivateProfileStringA("a", "b", "d", "locked.ini"));
  EXPECT_FALSE(profiles.WritePrivateProfileStringA("a", "b", "d", "C:\\No Folder\\x.ini"));
  EXPECT_TRUE(profiles.WritePrivateProfileStringA("CD PLAYER", "UsingCDDA", "1", "TVCDPLAY.INI"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=1\r\n");
  EXPECT_TRUE(profiles.WritePrivateProfileStringA("CD PLAYER", nullptr, nullptr, "TVCDPLAY.INI"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\TVCDPLAY.INI"), "");
}

}  // namespace
}  // namespace tvx
