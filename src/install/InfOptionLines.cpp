#include <cstring>
#include <string>

#include "InfOptions.h"

namespace tvx {

namespace {

constexpr int kLineBuffer = 1024;
constexpr long kWdmValueColumn = 48;

// Reads the next line of an INF opened in binary update mode as text mode would give it (CR LF
// as one line feed), with its last character (the line feed) dropped, and where it starts. Only
// the first piece of a line longer than the buffer counts as a line. A NUL byte is part of its
// line: the piece is as long as the stream moved, so the line feed after it still ends the line.
class OptionLineReader {
 public:
  OptionLineReader(IFileStreams& streams, FileStream* inf) : streams_(streams), inf_(inf) {}
  bool next(std::string& line, long& start) {
    char piece[kLineBuffer];
    while (true) {
      start = streams_.ftell(inf_);
      if (streams_.fgets(piece, kLineBuffer, inf_) == nullptr) return false;
      const long read = streams_.ftell(inf_) - start;
      std::string text(piece, read > 0 && read < kLineBuffer ? static_cast<std::size_t>(read) : std::strlen(piece));
      const bool firstPiece = lineStart_;
      lineStart_ = !text.empty() && text.back() == '\n';
      if (!firstPiece) continue;
      if (text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n') text.erase(text.size() - 2, 1);
      if (!text.empty()) text.pop_back();
      line = text;
      return true;
    }
  }

 private:
  IFileStreams& streams_;
  FileStream* inf_;
  bool lineStart_ = true;
};

void writeAt(const Platform& platform, FileStream* inf, long position, char c, DWORD waitMs) {
  if (waitMs > 0) platform.time.Sleep(waitMs);
  IFileStreams& streams = platform.streams;
  streams.fseek(inf, position, kSeekSet);
  streams.fputc(static_cast<unsigned char>(c), inf);
  streams.fflush(inf);
}

}  // namespace

void PatchInfOptionLine(const Platform& platform, FileStream* inf, const char* lineText, char digit, DWORD waitMs) {
  OptionLineReader reader(platform.streams, inf);
  std::string line;
  long start = 0;
  while (reader.next(line, start)) {
    if (line != lineText) continue;
    writeAt(platform, inf, start + static_cast<long>(std::strlen(lineText)) - 1, digit, waitMs);
    return;
  }
}

bool PatchWdmOptionLine(const Platform& platform, FileStream* inf, const char* lineText, char value, DWORD waitMs) {
  platform.streams.fseek(inf, 0, kSeekSet);
  OptionLineReader reader(platform.streams, inf);
  std::string line;
  long start = 0;
  while (reader.next(line, start)) {
    if (line.rfind(lineText, 0) != 0) continue;
    writeAt(platform, inf, start + kWdmValueColumn, value, waitMs);
    return true;
  }
  return false;
}

}  // namespace tvx
