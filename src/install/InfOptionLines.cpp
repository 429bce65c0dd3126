#include <cstring>
#include <string>

#include "InfOptions.h"

namespace tvx {

namespace {

constexpr int kLineBuffer = 1024;
constexpr long kWdmValueColumn = 48;

// Reads the next line of an INF opened in binary update mode as text mode would give it (CR LF
// as one line feed), without its line feed, and where it starts. Only
// the first piece of a line longer than the buffer counts as a line. A NUL byte is part of its
// line: the piece is as long as the stream moved, so the line feed after it still ends the line.
class OptionLineReader {
 public:
  OptionLineReader(IFileStreams& streams, FileStream* inf) : streams_(streams), inf_(inf) {}
  bool next(std::string& line, long& start) {
    char piece[kLineBuffer];
    while (true) {
      start = streams_.ftell(inf_);
      if (start < 0) {
        failed_ = true;  // no position: a line could not be found again to be written
        return false;
      }
      if (streams_.fgets(piece, kLineBuffer, inf_) == nullptr) {
        failed_ = streams_.ferror(inf_) != 0;  // a read error, not the end of the file
        return false;
      }
      const long end = streams_.ftell(inf_);
      if (end < 0) {
        failed_ = true;
        return false;
      }
      const long read = end - start;
      std::string text(piece, read > 0 && read < kLineBuffer ? static_cast<std::size_t>(read) : std::strlen(piece));
      const bool firstPiece = lineStart_;
      lineStart_ = !text.empty() && text.back() == '\n';
      if (!firstPiece) continue;
      if (text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n') text.erase(text.size() - 2, 1);
      // The line feed ends a line; the file's last line may have none, and keeps its last character.
      if (!text.empty() && text.back() == '\n') text.pop_back();
      line = text;
      return true;
    }
  }
  // The file could not be read to its end: a line may have been missed.
  bool failed() const { return failed_; }

 private:
  IFileStreams& streams_;
  FileStream* inf_;
  bool lineStart_ = true;
  bool failed_ = false;
};

bool writeAt(const Platform& platform, FileStream* inf, long position, char c, DWORD waitMs) {
  if (waitMs > 0) platform.time.Sleep(waitMs);
  IFileStreams& streams = platform.streams;
  return streams.fseek(inf, position, kSeekSet) == 0 && streams.fputc(static_cast<unsigned char>(c), inf) != kEof &&
         streams.fflush(inf) == 0;
}

OptionLinePatch written(bool done) { return done ? OptionLinePatch::Written : OptionLinePatch::Failed; }

}  // namespace

OptionLinePatch PatchInfOptionLine(const Platform& platform, FileStream* inf, const char* lineText, char digit,
                                   DWORD waitMs) {
  OptionLineReader reader(platform.streams, inf);
  std::string line;
  long start = 0;
  while (reader.next(line, start)) {
    if (line != lineText) continue;
    return written(writeAt(platform, inf, start + static_cast<long>(std::strlen(lineText)) - 1, digit, waitMs));
  }
  return reader.failed() ? OptionLinePatch::Failed : OptionLinePatch::NotFound;
}

OptionLinePatch PatchWdmOptionLine(const Platform& platform, FileStream* inf, const char* lineText, char value,
                                   DWORD waitMs) {
  if (platform.streams.fseek(inf, 0, kSeekSet) != 0) return OptionLinePatch::Failed;
  OptionLineReader reader(platform.streams, inf);
  std::string line;
  long start = 0;
  while (reader.next(line, start)) {
    if (line.rfind(lineText, 0) != 0) continue;
    return written(writeAt(platform, inf, start + kWdmValueColumn, value, waitMs));
  }
  return reader.failed() ? OptionLinePatch::Failed : OptionLinePatch::NotFound;
}

}  // namespace tvx
