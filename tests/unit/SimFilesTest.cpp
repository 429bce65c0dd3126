#include <gtest/gtest.h>

#include <algorithm>

#include "SimMachine.h"

namespace tvx {
namespace {

using test::SimMachine;

std::vector<std::string> found(IFileSystem& files, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE h = files.FindFirstFileA(pattern, &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(data.cFileName);
  } while (files.FindNextFileA(h, &data));
  files.FindClose(h);
  return names;
}

TEST(SimFiles, ShortNamesAreMadeTheWindowsWay) {
  SimMachine m;
  m.file("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF");
  m.file("C:\\Program Files Old\\x");
  m.file("C:\\PROGRA~1.TXT\\y");
  m.file("C:\\setup.ini");
  m.file("C:\\My.Long.Name.html");
  IFileSystem& files = m.platform().files;
  char out[MAX_PATH];
  ASSERT_GT(files.GetShortPathNameA("C:\\Program Files\\Tarvic\\W2K-ME", out, MAX_PATH), 0u);
  EXPECT_STREQ(out, "C:\\PROGRA~1\\TARVIC\\W2K-ME") << "FAT keeps short names in upper case";
  ASSERT_GT(files.GetShortPathNameA("c:\\program files old\\", out, MAX_PATH), 0u);
  EXPECT_STREQ(out, "C:\\PROGRA~2\\");
  ASSERT_GT(files.GetShortPathNameA("C:\\My.Long.Name.html", out, MAX_PATH), 0u);
  EXPECT_STREQ(out, "C:\\MYLONG~1.HTM");
  EXPECT_EQ(files.GetShortPathNameA("C:\\setup.ini", out, 5), 13u) << "a short buffer gives the size needed";
  EXPECT_EQ(files.GetShortPathNameA("C:\\Nowhere\\x", out, MAX_PATH), 0u);
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(files.CanOpenForReading("c:\\progra~1\\tarvic\\w2k-me\\tvaudio.inf")) << "short names open the file";

  SimMachine nt("winxp");
  nt.file("C:\\Program Files\\Tarvic\\W2K-ME\\TVAUDIO.INF");
  ASSERT_GT(nt.platform().files.GetShortPathNameA("C:\\Program Files\\Tarvic\\W2K-ME", out, MAX_PATH), 0u);
  EXPECT_STREQ(out, "C:\\PROGRA~1\\Tarvic\\W2K-ME") << "a name that needs no short name stays as written";
}

TEST(SimFiles, FindPatternsMatchWithoutCase) {
  SimMachine m;
  for (const char* name : {"OEM1.INF", "oem2.inf", "TVAUDIO.INF", "TV.TXT", "readme", "Other.PNF"}) {
    m.file(std::string("C:\\WINDOWS\\INF\\") + name);
  }
  m.file("C:\\WINDOWS\\INF\\OTHER\\Vendor.INF");
  IFileSystem& files = m.platform().files;
  EXPECT_EQ(found(files, "C:\\WINDOWS\\INF\\oem*.INF"), (std::vector<std::string>{"OEM1.INF", "oem2.inf"}));
  EXPECT_EQ(found(files, "C:\\WINDOWS\\INF\\TV*.INF"), (std::vector<std::string>{"TVAUDIO.INF"}));
  EXPECT_EQ(found(files, "C:\\WINDOWS\\INF\\OTHER\\*.INF"), (std::vector<std::string>{"Vendor.INF"}));
  EXPECT_EQ(found(files, "C:\\WINDOWS\\INF\\readme.*"), (std::vector<std::string>{"readme"}));
  EXPECT_EQ(found(files, "C:\\WINDOWS\\INF\\OTHER\\*.*"), (std::vector<std::string>{".", "..", "Vendor.INF"}));
  WIN32_FIND_DATAA data;
  EXPECT_EQ(files.FindFirstFileA("C:\\WINDOWS\\INF\\*.XYZ", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.FindFirstFileA("C:\\WINDOWS\\NONE\\*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(SimFiles, PatternsMatchTheShortNameAndFoldersListInTheirFilesystemsOrder) {
  // The 95 family's FAT folders list files in the order they were made; NTFS by name.
  for (const char* os : {"win98se", "winxp"}) {
    SimMachine m(os);
    for (const char* name : {"zeta.inf", "TVAUDIO.INFO", "Alpha.INF", "mid.txt"}) m.file(std::string("C:\\F\\") + name);
    const auto infs = found(m.platform().files, "C:\\F\\*.INF");
    if (std::string(os) == "win98se") {
      EXPECT_EQ(infs, (std::vector<std::string>{"zeta.inf", "TVAUDIO.INFO", "Alpha.INF"}))
          << "TVAUDIO.INFO is TVAUDI~1.INF, which the pattern matches";
    } else {
      EXPECT_EQ(infs, (std::vector<std::string>{"Alpha.INF", "TVAUDIO.INFO", "zeta.inf"}));
    }
  }
}

TEST(SimFiles, ReadOnlyFilesRefuseCopyAndDeleteUntilTheAttributeIsCleared) {
  SimMachine m;
  m.file("C:\\src.txt", "new");
  m.file("C:\\dst.txt", "old");
  IFileSystem& files = m.platform().files;
  ASSERT_TRUE(files.SetFileAttributesA("C:\\dst.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files.CopyFileA("C:\\src.txt", "C:\\dst.txt", FALSE));
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(files.DeleteFileA("C:\\dst.txt"));
  EXPECT_EQ(m.content("C:\\dst.txt"), "old");
  ASSERT_TRUE(files.SetFileAttributesA("C:\\dst.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(files.GetFileAttributesA("C:\\dst.txt"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(files.CopyFileA("C:\\src.txt", "C:\\dst.txt", FALSE));
  EXPECT_EQ(m.content("C:\\dst.txt"), "new");
  EXPECT_FALSE(files.CopyFileA("C:\\src.txt", "C:\\dst.txt", TRUE));
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_TRUE(files.DeleteFileA("C:\\DST.TXT"));
  EXPECT_FALSE(m.exists("C:\\dst.txt"));
}

TEST(SimFiles, AHiddenOrSystemFileCopiedOverKeepsThoseAttributes) {
  SimMachine m;
  m.file("C:\\src.txt", "new");
  IFileSystem& files = m.platform().files;
  for (DWORD kind : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}, DWORD{FILE_ATTRIBUTE_NORMAL}}) {
    m.file("C:\\dst.txt", "old");
    ASSERT_TRUE(files.SetFileAttributesA("C:\\dst.txt", kind));
    EXPECT_TRUE(files.CopyFileA("C:\\src.txt", "C:\\dst.txt", FALSE)) << kind;
    EXPECT_EQ(m.content("C:\\dst.txt"), "new");
    const DWORD kept = kind == FILE_ATTRIBUTE_NORMAL ? 0 : kind;
    EXPECT_EQ(files.GetFileAttributesA("C:\\dst.txt"), FILE_ATTRIBUTE_ARCHIVE | kept) << kind;
  }
  EXPECT_TRUE(files.CopyFileA("C:\\src.txt", "C:\\fresh.txt", FALSE));
  EXPECT_EQ(files.GetFileAttributesA("C:\\fresh.txt"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST(SimFiles, CurrentDirectoryResolvesRelativeAndDrivelessPaths) {
  SimMachine m;
  m.file("D:\\CD\\W95-98\\app\\Setup.exe");
  IFileSystem& files = m.platform().files;
  EXPECT_FALSE(files.SetCurrentDirectoryA("D:\\CD\\Missing"));
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(files.SetCurrentDirectoryA("D:\\Missing\\Deeper"));
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_PATH_NOT_FOUND);
  ASSERT_TRUE(files.SetCurrentDirectoryA("d:\\cd\\w95-98"));
  char cwd[MAX_PATH];
  EXPECT_EQ(files.GetCurrentDirectoryA(MAX_PATH, cwd), 12u);
  EXPECT_STREQ(cwd, "D:\\cd\\w95-98");
  EXPECT_TRUE(files.CanOpenForReading("app\\Setup.exe"));
  EXPECT_TRUE(files.CanOpenForReading("..\\W95-98\\APP\\SETUP.EXE"));
  EXPECT_TRUE(files.CanOpenForReading("\\CD\\W95-98\\app\\Setup.exe"));
  EXPECT_FALSE(files.CanOpenForReading("\\\\server\\share\\Setup.exe"));
  EXPECT_FALSE(files.CanOpenForReading("D:\\CD\\W95-98\\app")) << "a folder does not open as a file";
}

TEST(SimFiles, AFileThatDoesNotOpenForReadingTellsWhy) {
  SimMachine m;
  m.file("C:\\WINDOWS\\Mixer.exe", "mixer");
  Platform p = m.platform();
  const struct {
    const char* path;
    DWORD error;
  } cases[] = {{"C:\\WINDOWS\\Mixer.dat", ERROR_FILE_NOT_FOUND},
               {"C:\\GONE\\Mixer.dat", ERROR_PATH_NOT_FOUND},
               {"C:\\WINDOWS", ERROR_ACCESS_DENIED}};
  for (const auto& c : cases) {
    p.system.SetLastError(0);
    EXPECT_FALSE(p.files.CanOpenForReading(c.path)) << c.path;
    EXPECT_EQ(p.system.GetLastError(), c.error) << c.path;
  }
  m.machine.faults.failFirst = "fopen";
  EXPECT_FALSE(p.files.CanOpenForReading("C:\\WINDOWS\\Mixer.exe")) << "a file that is there, made to fail";
  EXPECT_EQ(p.system.GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(p.files.CanOpenForReading("C:\\WINDOWS\\Mixer.exe"));
}

TEST(SimFiles, AFileCopiedOntoItselfByAnyOfItsNamesStaysAsItWas) {
  // Windows NT finds the source open; the 95 family answers as for a destination it keeps.
  for (const auto& [os, error] :
       {std::pair<const char*, DWORD>{"win98se", ERROR_FILE_EXISTS}, {"winxp", ERROR_SHARING_VIOLATION}}) {
    SimMachine m(os);
    const std::string file = "C:\\Program Files\\Tarvic\\W95-98\\TVAUDIO.INF";
    m.file(file, "the INF");
    IFileSystem& files = m.platform().files;
    for (const char* target :
         {"C:\\Program Files\\Tarvic\\W95-98\\TVAUDIO.INF", "c:\\program files\\tarvic\\w95-98\\tvaudio.inf",
          "C:\\PROGRA~1\\TARVIC\\W95-98\\TVAUDIO.INF"}) {
      EXPECT_FALSE(files.CopyFileA(file.c_str(), target, FALSE)) << os << " " << target;
      EXPECT_EQ(m.platform().system.GetLastError(), error) << os << " " << target;
    }
    EXPECT_EQ(m.content(file), "the INF") << os;
  }
}

TEST(SimFiles, AFileAnotherProgramHoldsIsListedButNeitherOpensNorCopiesNorGoes) {
  test::MachineFolder folder;
  folder.write("machine.ini", "[Machine]\r\nos=win98se\r\nheld=C:\\W95-98\\app\\Setup.exe\r\n");
  folder.write("drives/C/W95-98/app/Setup.exe", "MZ suite");
  sim::Machine machine;
  folder.load(machine);
  sim::SimPlatform sim(machine);
  Platform p = sim.platform();
  const char* file = "c:\\w95-98\\APP\\setup.exe";
  EXPECT_NE(p.files.GetFileAttributesA(file), INVALID_FILE_ATTRIBUTES);
  WIN32_FIND_DATAA data;
  HANDLE find = p.files.FindFirstFileA("C:\\W95-98\\app\\*.exe", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  p.files.FindClose(find);
  EXPECT_FALSE(p.files.CanOpenForReading(file));
  EXPECT_EQ(p.system.GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(p.streams.fopen(file, "rb"), nullptr);
  EXPECT_EQ(p.system.GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(p.files.CopyFileA(file, "C:\\Setup.exe", FALSE));
  EXPECT_EQ(p.system.GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(p.files.DeleteFileA(file));
  EXPECT_EQ(p.system.GetLastError(), ERROR_SHARING_VIOLATION);
  machine.heldFiles.clear();
  EXPECT_TRUE(p.files.CanOpenForReading(file)) << "let go, it opens";
}

TEST(SimFiles, MovedFilesKeepTheirContentAndCannotReplaceAnother) {
  SimMachine m;
  m.file("C:\\WINDOWS\\Mixer.exe", "mixer");
  m.file("C:\\WINDOWS\\Mixer.old", "older");
  IFileSystem& files = m.platform().files;
  EXPECT_FALSE(files.MoveFileA("C:\\WINDOWS\\Mixer.exe", "C:\\WINDOWS\\Mixer.old"));
  EXPECT_EQ(m.platform().system.GetLastError(), ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(files.MoveFileA("C:\\WINDOWS\\Mixer.exe", "C:\\WINDOWS\\Mixer.new"));
  EXPECT_EQ(m.content("C:\\WINDOWS\\Mixer.new"), "mixer");
  EXPECT_FALSE(m.exists("C:\\WINDOWS\\Mixer.exe"));
  EXPECT_TRUE(files.CreateDirectoryA("C:\\Program Files"));
  EXPECT_FALSE(files.CreateDirectoryA("C:\\Program Files\\Tarvic\\W95-98")) << "one level at a time";
}

}  // namespace
}  // namespace tvx
