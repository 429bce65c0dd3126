// A CD drive laid from an ISO 9660 image, as Windows reads the disc: the Joliet names where the
// image has them, else the primary names; read-only; the files' dates from the image. The two
// images are the disc reader's fuzz seeds, mastered by xorriso from one small folder (SETUP.EXE,
// setup.ini, W95-98\A.TXT), once with Joliet and once at strict level 1 without it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "SimMachine.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

std::string seed(const char* name) {
  std::ifstream in(std::string(TVX_SOURCE_DIR) + "/tests/fuzz/corpus/iso/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The names FindFirstFileA lists in a folder of drive D, in order, each with its attributes'
// read-only bit and whether it carries a date.
std::vector<std::string> listed(test::SimMachine& m, const std::string& pattern) {
  std::vector<std::string> out;
  Platform p = m.platform();
  WIN32_FIND_DATAA data;
  HANDLE find = p.files.FindFirstFileA(pattern.c_str(), &data);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = p.files.FindNextFileA(find, &data) != FALSE) {
    const bool dated = data.ftLastWriteTime.dwHighDateTime != 0;
    out.push_back(std::string(data.cFileName) + ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? " R" : "") +
                  (dated ? " dated" : ""));
  }
  if (find != INVALID_HANDLE_VALUE) p.files.FindClose(find);
  return out;
}

TEST(SimDisc, JolietNamesWhereTheImageHasThemElseThePrimaryNames) {
  test::SimMachine joliet;
  const sim::DiscInfo info = sim::layDiscImage(*joliet.machine.files.drive('D'), seed("joliet.iso"));
  EXPECT_TRUE(info.joliet);
  EXPECT_EQ(listed(joliet, "D:\\*.*"),
            (std::vector<std::string>{"SETUP.EXE R dated", "W95-98 R dated", "setup.ini R dated"}));
  EXPECT_EQ(joliet.content("D:\\W95-98\\A.TXT"), "x");

  test::SimMachine primary;
  const sim::DiscInfo level1 = sim::layDiscImage(*primary.machine.files.drive('D'), seed("level1.iso"));
  EXPECT_FALSE(level1.joliet);
  // Upper case, the version ";1" dropped, and the hyphen that level 1 does not allow made "_".
  EXPECT_EQ(listed(primary, "D:\\*.*"),
            (std::vector<std::string>{"SETUP.EXE R dated", "SETUP.INI R dated", "W95_98 R dated"}));
  EXPECT_FALSE(primary.exists("D:\\W95-98\\A.TXT"));
  EXPECT_TRUE(primary.exists("D:\\W95_98\\A.TXT"));
  // A copy from the disc keeps the date it was written.
  Platform p = primary.platform();
  ASSERT_TRUE(p.files.CopyFileA("D:\\SETUP.INI", "C:\\SETUP.INI", FALSE));
  EXPECT_EQ(listed(primary, "C:\\SETUP.INI"), std::vector<std::string>{"SETUP.INI R dated"});
}

TEST(SimDisc, AnImageThatCannotBeReadIsNamedAsSuch) {
  const auto error = [](const std::string& bytes) {
    sim::FileTree tree;
    try {
      sim::layDiscImage(tree.addDrive('D'), bytes);
    } catch (const sim::MachineError& e) {
      return std::string(e.what());
    }
    return std::string("(read)");
  };
  EXPECT_EQ(error("not an image"), "no ISO 9660 image (no primary volume descriptor at sector 16)");
  const std::string image = seed("joliet.iso");
  EXPECT_EQ(error(image.substr(0, 36 * 1024)).rfind("the image is damaged", 0), 0u)
      << error(image.substr(0, 36 * 1024));
  EXPECT_EQ(sim::discInfoOf(image).label, "TVX_CD");
}

}  // namespace
}  // namespace tvx
