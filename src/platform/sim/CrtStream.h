// One stream of the C runtime as msvcrt.dll builds it: a FILE with a 4096-byte buffer (_ptr,
// _cnt and the _IOREAD/_IOWRT/_IORW/_IOEOF/_IOERR flags) over a file descriptor that translates
// text mode as it reads and writes (CR LF read as LF, a CR ending a read joined with the LF after
// it, a Ctrl-Z ending the file, LF written as CR LF).
//
// ftell computes the position the way msvcrt computes it: in text mode it takes every LF in the
// buffer for a CR LF of the file, so on a file with bare LF line ends the positions it gives are
// wrong (too small at the end of the file, too large before it), and so is an fseek from them.
// What happens without a seek between reading and writing follows msvcrt too: a byte put while
// read data is buffered replaces that data in the buffer and never reaches the file.
#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "FileTree.h"
#include "Paths.h"

namespace tvx::sim {

struct CrtStream {
  static constexpr std::size_t kBufferSize = 4096;

  CrtStream(FileTree& files, WinPath where, const std::string& mode);

  FileTree* files = nullptr;
  WinPath path;
  std::optional<std::string> opened;  // an existing file opened for update: its content then
  bool openedForWriting = false;

  // The file descriptor.
  bool text = true;
  bool append = false;
  long pos = 0;           // the file pointer
  bool atEof = false;     // a read met the end of the file or a Ctrl-Z
  bool joinedLf = false;  // _read took a LF for the end of a CR LF: the last fill began with an LF or
                          // ended in a CR whose LF was read from beyond it

  // The FILE.
  bool reading = false;   // _IOREAD
  bool writing = false;   // _IOWRT
  bool update = false;    // _IORW
  bool eof = false;       // _IOEOF
  bool error = false;     // _IOERR
  bool diskFull = false;  // the disk has no room: a write puts half its bytes and fails
  // Where a write cut short is noted (the file's path in upper case, its content after the write).
  std::map<std::string, std::string>* cutShort = nullptr;
  std::string buffer;   // read data (translated) or pending output (untranslated)
  std::size_t ptr = 0;  // _ptr - _base
  std::size_t cnt = 0;  // _cnt: unread bytes, or room left for output

  int getc();                           // fgetc
  int putc(int c);                      // fputc
  int write(const std::string& bytes);  // fputs, as fwrite
  int flushBuffer();                    // fflush: pending output goes to the file; read data is dropped
  long tell() const;                    // ftell
  int seek(long offset, int origin);    // fseek

 private:
  FileNode* node() const;
  long size() const;
  std::string readLow(std::size_t count);   // _read
  bool writeLow(const std::string& bytes);  // _write
  int fill();                               // _filbuf
  int flushAndPut(int c);                   // _flsbuf
};

}  // namespace tvx::sim
