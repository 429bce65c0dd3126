#include <gtest/gtest.h>

#include "src/platform/sim/Simulator.h"

namespace tvx::sim {
namespace {

std::string utf16(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST(RegFile, ReadsRegedit4ValuesOfEveryKind) {
  RegistryTree tree;
  importRegFile(tree,
                "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Tarvic]\r\n@=\"default\"\r\n"
                "\"Path\"=\"C:\\\\Program Files\\\\Tarvic\"\r\n\"Quote\"=\"say \\\"hi\\\"\"\r\n"
                "\"Count\"=dword:0000001f\r\n\"Blob\"=hex:01,02,\\\r\n  03\r\n\"Expand\"=hex(2):25,41,25,00\r\n",
                "r.reg");
  RegKey* key = tree.find(tree.rootByName("HKEY_LOCAL_MACHINE"), "software\\tarvic");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->value("")->text(), "default");
  EXPECT_EQ(key->value("path")->text(), "C:\\Program Files\\Tarvic");
  EXPECT_EQ(key->value("Quote")->text(), "say \"hi\"");
  EXPECT_EQ(key->value("Count")->data, (std::vector<BYTE>{0x1f, 0, 0, 0}));
  EXPECT_EQ(key->value("Blob")->data, (std::vector<BYTE>{1, 2, 3}));
  EXPECT_EQ(key->value("Expand")->type, REG_EXPAND_SZ);
  EXPECT_EQ(key->value("Expand")->text(), "%A%");
}

TEST(RegFile, ReadsVersion5FilesInUtf16AndTheirDeletions) {
  RegistryTree tree;
  importRegFile(
      tree,
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"Gone\"=\"1\"\r\n\"Stays\"=\"2\"\r\n[HKEY_CURRENT_USER\\A\\C]\r\n",
      "first.reg");
  importRegFile(tree,
                utf16("Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\A\\C]\r\n"
                      "[HKEY_CURRENT_USER\\A\\B]\r\n\"Gone\"=-\r\n\"Multi\"=hex(7):61,00,00,00,00,00\r\n"),
                "second.reg");
  RegKey* root = tree.rootByName("HKCU");
  EXPECT_EQ(tree.find(root, "A\\C"), nullptr);
  RegKey* b = tree.find(root, "A\\B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->value("Gone"), nullptr);
  EXPECT_EQ(b->value("Stays")->text(), "2");
  EXPECT_EQ(b->value("Multi")->data, (std::vector<BYTE>{'a', 0, 0}));
}

TEST(RegFile, FaultsNameTheFileAndTheLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  for (const Case& c :
       {Case{"REGEDIT5\r\n", "bad.reg line 1: expected REGEDIT4"},
        Case{"REGEDIT4\r\n\r\n\"x\"=\"y\"\r\n", "bad.reg line 3: value outside a key"},
        Case{"REGEDIT4\r\n[HKEY_NOWHERE\\X]\r\n", "bad.reg line 2: unknown root key"},
        Case{"REGEDIT4\r\n[HKEY_USERS\\X]\r\n\"n\"=dword:xyz\r\n", "bad.reg line 3: bad dword"},
        Case{"REGEDIT4\r\n[HKEY_USERS\\X]\r\n\"n\"=\"open\r\n", "bad.reg line 3: missing closing quote"},
        Case{"REGEDIT4\r\n[HKEY_USERS\\X]\r\n\"n\"=hex():00\r\n", "bad.reg line 3: bad hex type"},
        Case{"REGEDIT4\r\n[HKEY_USERS\\X]\r\n\"n\"=hex(zz):00\r\n", "bad.reg line 3: bad hex type"}}) {
    RegistryTree tree;
    try {
      importRegFile(tree, c.text, "bad.reg");
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const MachineError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

TEST(RegFile, WhatIsWrittenReadsBackTheSame) {
  RegistryTree tree;
  importRegFile(tree,
                "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\S\\T]\r\n\"a\\\\b\"=\"c\\\"d\"\r\n\"n\"=dword:00000005\r\n"
                "\"bin\"=hex:00,ff\r\n[HKEY_CLASSES_ROOT\\CLSID\\{X}]\r\n@=\"class\"\r\n[HKEY_USERS\\.Default\\E]\r\n",
                "in.reg");
  const std::string written = exportRegFile(tree);
  RegistryTree again;
  importRegFile(again, written, "out.reg");
  EXPECT_EQ(exportRegFile(again), written);
  EXPECT_NE(written.find("[HKEY_LOCAL_MACHINE\\S\\T]\r\n\"a\\\\b\"=\"c\\\"d\"\r\n\"n\"=dword:00000005\r\n"
                         "\"bin\"=hex:00,ff\r\n"),
            std::string::npos)
      << written;
  EXPECT_NE(written.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{X}]\r\n@=\"class\""), std::string::npos);
  EXPECT_NE(written.find("[HKEY_USERS\\.Default\\E]"), std::string::npos);
}

}  // namespace
}  // namespace tvx::sim
