// The simulated machine's C runtime streams, where a fault would change what the program does to
// a file: the byte-exact copy of the INF patcher, positions and updates in place in binary mode,
// and the text-mode translation with msvcrt's own ftell.
#include <gtest/gtest.h>

#include "SimMachine.h"

namespace tvx {
namespace {

using test::SimMachine;

std::vector<std::pair<std::string, long>> linesWithPositions(IFileStreams& s, const char* path, const char* mode,
                                                             int size = 1024) {
  std::vector<std::pair<std::string, long>> out;
  FileStream* f = s.fopen(path, mode);
  if (f == nullptr) return out;
  std::vector<char> buffer(static_cast<std::size_t>(size));
  while (s.fgets(buffer.data(), size, f) != nullptr) out.emplace_back(buffer.data(), s.ftell(f));
  s.fclose(f);
  return out;
}

using Lines = std::vector<std::pair<std::string, long>>;

TEST(SimStreams, BinaryModeGivesEveryByteAndItsPosition) {
  SimMachine m;
  m.file("C:\\f.inf",
         "a\r\nbb\nccc\rd\r\n\x1A"
         "e");
  EXPECT_EQ(linesWithPositions(m.platform().streams, "C:\\f.inf", "rb"), (Lines{{"a\r\n", 3},
                                                                                {"bb\n", 6},
                                                                                {"ccc\rd\r\n", 13},
                                                                                {"\x1A"
                                                                                 "e",
                                                                                 15}}));
}

TEST(SimStreams, TextModesOpenOnlyOnAMachineThatPlaysMsvcrt) {
  SimMachine m;
  m.file("C:\\f.inf", "a\r\n");
  IFileStreams& s = m.platform().streams;
  for (const char* mode : {"r", "r+", "w", "a", "rt"}) {
    m.platform().system.SetLastError(0);
    EXPECT_EQ(s.fopen("C:\\f.inf", mode), nullptr) << mode;
    EXPECT_EQ(m.platform().system.GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << mode;
  }
  EXPECT_EQ(m.content("C:\\f.inf"), "a\r\n") << "a refused \"w\" empties nothing";
  m.machine.crtTextModes = true;
  FileStream* f = s.fopen("C:\\f.inf", "r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(s.fclose(f), 0);
}

TEST(SimStreams, TextModeJoinsCrLfAndEndsAtCtrlZ) {
  SimMachine m;
  m.machine.crtTextModes = true;
  m.file("C:\\f.inf",
         "a\r\nb\rc\r\n\x1A"
         "after\r\n");
  auto lines = linesWithPositions(m.platform().streams, "C:\\f.inf", "r");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].first, "a\n");
  EXPECT_EQ(lines[1].first, "b\rc\n") << "a lone CR stays";
}

TEST(SimStreams, TextModeFtellTakesEveryLineFeedForACrLf) {
  SimMachine m;
  m.machine.crtTextModes = true;
  m.file("C:\\crlf.txt", "line one\r\nline two\r\nline three\r\nline four\r\n");
  m.file("C:\\lf.txt", "line one\nline two\nline three\nline four\n");
  IFileStreams& s = m.platform().streams;
  EXPECT_EQ(linesWithPositions(s, "C:\\crlf.txt", "r")[0].second, 10);
  // 39 bytes, 30 unread with 3 line feeds taken for 6 bytes: msvcrt says 6, not 9.
  EXPECT_EQ(linesWithPositions(s, "C:\\lf.txt", "r")[0].second, 6);
  EXPECT_EQ(linesWithPositions(s, "C:\\lf.txt", "rb")[0].second, 9);
}

TEST(SimStreams, ACrLfAcrossTheBufferEdgeIsOneLineEnd) {
  SimMachine m;
  m.machine.crtTextModes = true;
  // 4095 bytes, then CR LF at 4095 and 4096, then one more line.
  std::string text = std::string(4095, 'x') + "\r\nnext\r\n";
  m.file("C:\\big.txt", text);
  auto lines = linesWithPositions(m.platform().streams, "C:\\big.txt", "r", 8192);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].first, std::string(4095, 'x') + "\n");
  EXPECT_EQ(lines[0].second, 4097);
  EXPECT_EQ(lines[1], (std::pair<std::string, long>{"next\n", 4103}));
}

TEST(SimStreams, LinesCopiedWithFgetsAndFputsKeepEveryByte) {
  SimMachine m;
  std::string text = "[Version]\r\nsig=1\nlone\rcr\r\n" + std::string(1500, 'L') +
                     "\r\n\x1A"
                     "tail";
  m.file("C:\\ks.inf", text);
  IFileStreams& s = m.platform().streams;
  FileStream* in = s.fopen("C:\\ks.inf", "rb");
  FileStream* out = s.fopen("C:\\ks.new", "wb");
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  char line[1024];
  int pieces = 0;
  while (s.fgets(line, sizeof(line), in) != nullptr) {
    ++pieces;
    s.fputs(line, out);
  }
  EXPECT_EQ(s.fclose(in), 0);
  EXPECT_EQ(s.fclose(out), 0);
  EXPECT_EQ(m.content("C:\\ks.new"), text);
  EXPECT_EQ(pieces, 6) << "the 1502-byte line comes in two pieces";
}

TEST(SimStreams, UpdateInPlaceMovesNoByte) {
  SimMachine m;
  m.file("C:\\opt.inf", "EnableLegacy=0\r\nJackConfig=1\nrest\r\n");
  IFileStreams& s = m.platform().streams;
  FileStream* f = s.fopen("C:\\opt.inf", "r+b");
  char line[1024];
  ASSERT_NE(s.fgets(line, sizeof(line), f), nullptr);
  ASSERT_NE(s.fgets(line, sizeof(line), f), nullptr);
  EXPECT_EQ(s.ftell(f), 29);
  // Back to the value of the second line, over the bare LF line end.
  ASSERT_EQ(s.fseek(f, -2, kSeekCur), 0);
  EXPECT_EQ(s.fputc('7', f), '7');
  EXPECT_EQ(s.fflush(f), 0);
  ASSERT_NE(s.fgets(line, sizeof(line), f), nullptr);
  EXPECT_STREQ(line, "\n");
  ASSERT_EQ(s.fseek(f, 13, kSeekSet), 0);
  EXPECT_EQ(s.fputc('1', f), '1');
  EXPECT_EQ(s.fclose(f), 0);
  EXPECT_EQ(m.content("C:\\opt.inf"), "EnableLegacy=1\r\nJackConfig=7\nrest\r\n");
}

TEST(SimStreams, TextModeSeekFromABareLfPositionWritesAtTheWrongPlace) {
  SimMachine m;
  m.machine.crtTextModes = true;
  m.file("C:\\lf.txt", "line one\nline two\n");
  IFileStreams& s = m.platform().streams;
  FileStream* f = s.fopen("C:\\lf.txt", "r+");
  char line[64];
  s.fgets(line, sizeof(line), f);
  ASSERT_EQ(s.fseek(f, 0, kSeekCur), 0);
  s.fputc('#', f);
  s.fclose(f);
  // ftell said 8 (18 bytes, 9 unread with one line feed taken for two): the line end is overwritten.
  EXPECT_EQ(m.content("C:\\lf.txt"), "line one#line two\n");
}

TEST(SimStreams, TextModeWritesLineFeedsAsCrLf) {
  SimMachine m;
  m.machine.crtTextModes = true;
  IFileStreams& s = m.platform().streams;
  FileStream* f = s.fopen("C:\\out.txt", "w");
  s.fputs("a\nb\r\n", f);
  EXPECT_EQ(s.ftell(f), 7);
  s.fclose(f);
  EXPECT_EQ(m.content("C:\\out.txt"), "a\r\nb\r\r\n");
}

TEST(SimStreams, AnOpenStreamSharesReadingAndWritingButNotDeleting) {
  SimMachine m;
  m.file("C:\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
  Platform p = m.platform();
  FileStream* f = p.streams.fopen("C:\\mixerdef.ini", "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(p.profiles.WritePrivateProfileStringA("RUNTIME", "Initialize", "0", "C:\\mixerdef.ini"));
  EXPECT_FALSE(p.files.DeleteFileA("C:\\mixerdef.ini"));
  EXPECT_EQ(p.system.GetLastError(), ERROR_SHARING_VIOLATION);
  p.streams.fclose(f);
  EXPECT_EQ(m.content("C:\\mixerdef.ini"), "[RUNTIME]\r\nInitialize=0\r\n");
  EXPECT_TRUE(p.files.DeleteFileA("C:\\mixerdef.ini"));
}

}  // namespace
}  // namespace tvx
