// The C runtime's buffered file streams (fopen and its family), as msvcrt gives them: modes
// "r", "w", "a", with "+" for update and "b" for binary; text mode reads CR LF as LF (and
// Ctrl-Z as the end of the file) and writes LF as CR LF.
#pragma once
#include "WinTypes.h"

namespace tvx {

struct FileStream;  // the C runtime's FILE

constexpr int kSeekSet = 0;  // SEEK_SET
constexpr int kSeekCur = 1;  // SEEK_CUR
constexpr int kSeekEnd = 2;  // SEEK_END
constexpr int kEof = -1;     // EOF

class IFileStreams {
 public:
  virtual ~IFileStreams() = default;
  virtual FileStream* fopen(const char* path, const char* mode) = 0;
  virtual char* fgets(char* buffer, int size, FileStream* stream) = 0;
  virtual int fputs(const char* text, FileStream* stream) = 0;
  virtual int fputc(int c, FileStream* stream) = 0;
  virtual int fseek(FileStream* stream, long offset, int origin) = 0;
  virtual long ftell(FileStream* stream) = 0;
  virtual int fflush(FileStream* stream) = 0;
  virtual int fclose(FileStream* stream) = 0;
  virtual int feof(FileStream* stream) = 0;
  virtual int ferror(FileStream* stream) = 0;
};

}  // namespace tvx
