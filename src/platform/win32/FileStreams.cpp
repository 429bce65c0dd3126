// The program's file streams, over kernel32's file handles: Setup.exe does without the C runtime
// DLL, which Windows 95 does not have. They work as msvcrt's streams do in binary mode, the only
// mode the program opens files in: a 4096-byte buffer, the file shared for reading and writing
// (not for deleting), fopen failing with the last error CreateFileA leaves, fclose failing on a
// stream that had an error. Where msvcrt loses data (a write straight after a read, fflush on a
// stream being read), these streams go back to the position the program sees instead. A text
// mode is refused: a mode without "b" opens nothing.
#include "Win32Platform.h"

namespace tvx {

struct FileStream {
  static constexpr DWORD kBufferSize = 4096;
  HANDLE file = INVALID_HANDLE_VALUE;
  bool canRead = false;
  bool canWrite = false;
  bool append = false;
  bool eof = false;
  bool error = false;
  DWORD next = 0;  // reading: the next unread byte of the buffer
  DWORD held = 0;  // reading: the bytes read into the buffer; writing: the bytes waiting for the file
  bool writing = false;
  char buffer[kBufferSize];
};

}  // namespace tvx

namespace tvx::win32 {

namespace {

long handlePosition(HANDLE file) { return static_cast<long>(::SetFilePointer(file, 0, nullptr, FILE_CURRENT)); }

// Pending output goes to the file; read data not yet taken is given back by moving the file
// pointer to where the program is.
bool settle(FileStream& s) {
  bool ok = true;
  if (s.writing && s.held > 0) {
    if (s.append) ::SetFilePointer(s.file, 0, nullptr, FILE_END);
    DWORD written = 0;
    ok = ::WriteFile(s.file, s.buffer, s.held, &written, nullptr) && written == s.held;
    if (!ok) s.error = true;
  } else if (!s.writing && s.next < s.held) {
    ::SetFilePointer(s.file, -static_cast<LONG>(s.held - s.next), nullptr, FILE_CURRENT);
  }
  s.writing = false;
  s.next = s.held = 0;
  return ok;
}

int getByte(FileStream& s) {
  if (!s.writing && s.next < s.held) return static_cast<unsigned char>(s.buffer[s.next++]);
  if (!s.canRead) return kEof;
  if (s.writing && !settle(s)) return kEof;
  DWORD got = 0;
  if (!::ReadFile(s.file, s.buffer, FileStream::kBufferSize, &got, nullptr)) {
    s.error = true;
    return kEof;
  }
  s.next = 0;
  s.held = got;
  if (got == 0) {
    s.eof = true;
    return kEof;
  }
  return static_cast<unsigned char>(s.buffer[s.next++]);
}

int putByte(FileStream& s, int c) {
  if (!s.canWrite) {
    s.error = true;
    return kEof;
  }
  if (!s.writing) {
    settle(s);
    s.writing = true;
    s.eof = false;
  }
  if (s.held == FileStream::kBufferSize) {
    if (!settle(s)) return kEof;
    s.writing = true;
  }
  s.buffer[s.held++] = static_cast<char>(c);
  return c & 0xFF;
}

}  // namespace

FileStreams::~FileStreams() {
  // Streams still open when the program ends are flushed and closed, as the C runtime's exit does.
  while (open_ != nullptr) fclose(open_->stream);
}

FileStream* FileStreams::fopen(const char* path, const char* mode) {
  bool binary = false;
  bool update = false;
  for (const char* m = mode + (*mode != '\0' ? 1 : 0); *m != '\0'; ++m) {
    binary = binary || *m == 'b';
    update = update || *m == '+';
  }
  if (!binary || (*mode != 'r' && *mode != 'w' && *mode != 'a')) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const bool reads = *mode == 'r' || update;
  const bool writes = *mode != 'r' || update;
  const DWORD creation = *mode == 'r' ? OPEN_EXISTING : *mode == 'w' ? CREATE_ALWAYS : OPEN_ALWAYS;
  HANDLE file = ::CreateFileA(path, (reads ? GENERIC_READ : 0) | (writes ? GENERIC_WRITE : 0),
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  auto* s = new FileStream;
  s->file = file;
  s->canRead = reads;
  s->canWrite = writes;
  s->append = *mode == 'a';
  open_ = new OpenStream{s, open_};
  return s;
}

char* FileStreams::fgets(char* buffer, int size, FileStream* stream) {
  if (stream == nullptr || buffer == nullptr || size <= 0) return nullptr;
  char* out = buffer;
  int c = kEof;
  while (size > 1 && (c = getByte(*stream)) != kEof && c != '\n') {
    *out++ = static_cast<char>(c);
    --size;
  }
  if (c == kEof && out == buffer) return nullptr;
  if (c != kEof && size > 1) *out++ = static_cast<char>(c);
  *out = '\0';
  return buffer;
}

int FileStreams::fputs(const char* text, FileStream* stream) {
  if (stream == nullptr || text == nullptr) return kEof;
  for (; *text != '\0'; ++text) {
    if (putByte(*stream, static_cast<unsigned char>(*text)) == kEof) return kEof;
  }
  return 0;
}

int FileStreams::fputc(int c, FileStream* stream) { return stream != nullptr ? putByte(*stream, c) : kEof; }

int FileStreams::fseek(FileStream* stream, long offset, int origin) {
  if (stream == nullptr || origin < kSeekSet || origin > kSeekEnd) return -1;
  if (origin == kSeekCur) {
    offset += ftell(stream);
    origin = kSeekSet;
  }
  const bool flushed = settle(*stream);
  stream->eof = false;
  if (!flushed) return -1;
  const DWORD method = origin == kSeekSet ? FILE_BEGIN : FILE_END;
  if (origin == kSeekSet && offset < 0) return -1;
  return ::SetFilePointer(stream->file, offset, nullptr, method) == INVALID_SET_FILE_POINTER ? -1 : 0;
}

long FileStreams::ftell(FileStream* stream) {
  if (stream == nullptr) return -1;
  const long at = handlePosition(stream->file);
  if (at < 0) return -1;
  if (stream->writing) return at + static_cast<long>(stream->held);
  return at - static_cast<long>(stream->held - stream->next);
}

int FileStreams::fflush(FileStream* stream) {
  if (stream == nullptr) return kEof;
  return settle(*stream) ? 0 : kEof;
}

int FileStreams::fclose(FileStream* stream) {
  if (stream == nullptr) return kEof;
  for (OpenStream** link = &open_; *link != nullptr; link = &(*link)->next) {
    if ((*link)->stream != stream) continue;
    OpenStream* gone = *link;
    *link = gone->next;
    delete gone;
    break;
  }
  const bool failed = !settle(*stream) || stream->error;
  const bool closed = ::CloseHandle(stream->file) != FALSE;
  delete stream;
  return failed || !closed ? kEof : 0;
}

int FileStreams::feof(FileStream* stream) { return stream != nullptr && stream->eof ? 1 : 0; }

int FileStreams::ferror(FileStream* stream) { return stream != nullptr && stream->error ? 1 : 0; }

}  // namespace tvx::win32
