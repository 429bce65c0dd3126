#include "CrtStream.h"

#include <algorithm>

#include "../IFileStreams.h"
#include "Text.h"

namespace tvx::sim {

namespace {
constexpr char kCtrlZ = 0x1A;

long lineFeeds(const std::string& text, std::size_t from, std::size_t to) {
  return static_cast<long>(
      std::count(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(to), '\n'));
}
}  // namespace

CrtStream::CrtStream(FileTree& tree, WinPath where, const std::string& mode) : files(&tree), path(std::move(where)) {
  update = mode.find('+') != std::string::npos;
  text = mode.find('b') == std::string::npos;
  reading = mode[0] == 'r' && !update;
  writing = mode[0] != 'r' && !update;
  append = mode[0] == 'a';
  openedForWriting = mode[0] != 'r' || update;
}

FileNode* CrtStream::node() const { return files->find(path); }

long CrtStream::size() const {
  FileNode* n = node();
  return n != nullptr ? static_cast<long>(n->data.size()) : 0;
}

// _read: up to `count` bytes from the file pointer, translated in text mode.
std::string CrtStream::readLow(std::size_t count) {
  if (atEof) return {};
  FileNode* n = node();
  if (n == nullptr) {
    atEof = true;
    return {};
  }
  const std::string& data = n->data;
  const auto from = static_cast<std::size_t>(std::min(pos, static_cast<long>(data.size())));
  std::string raw = data.substr(from, count);
  pos = static_cast<long>(from + raw.size());
  // msvcrt notes a read that starts with an LF, taking it for the second half of a CR LF.
  joinedLf = !raw.empty() && raw[0] == '\n' && text;
  if (raw.empty()) {
    atEof = true;
    return {};
  }
  if (!text) return raw;
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == kCtrlZ) {
      atEof = true;
      break;
    }
    if (c == '\r' && i + 1 == raw.size() && static_cast<std::size_t>(pos) < data.size()) {
      // A CR that ends the read: the byte after it decides, and stays read when it is the LF.
      if (data[static_cast<std::size_t>(pos)] == '\n') {
        ++pos;
        joinedLf = true;
        out += '\n';
        continue;
      }
    } else if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
      continue;
    }
    out += c;
  }
  return out;
}

// _write: the bytes at the file pointer (at the end in append mode), LF written as CR LF in
// text mode.
bool CrtStream::writeLow(const std::string& bytes) {
  FileNode* n = node();
  if (n == nullptr) return false;
  std::string out;
  for (char c : bytes) {
    if (text && c == '\n') out += '\r';
    out += c;
  }
  if (diskFull) out.resize(out.size() / 2);
  std::string& data = n->data;
  if (append) pos = static_cast<long>(data.size());
  const auto at = static_cast<std::size_t>(pos);
  if (data.size() < at) data.resize(at, '\0');
  data.replace(at, std::min(out.size(), data.size() - at), out);
  pos += static_cast<long>(out.size());
  atEof = false;
  if (diskFull && cutShort != nullptr) (*cutShort)[toUpper(path.str())] = data;
  return !diskFull;
}

// msvcrt_flush_buffer: pending output goes to the file; read data is dropped.
int CrtStream::flushBuffer() {
  int result = 0;
  if (writing && !reading && ptr > 0) {
    if (!writeLow(buffer.substr(0, ptr))) {
      error = true;
      result = kEof;
    } else if (update) {
      writing = false;
    }
  } else if (writing && !reading && update) {
    writing = false;
  }
  buffer.clear();
  ptr = 0;
  cnt = 0;
  return result;
}

// _filbuf: the next byte, filling the buffer when it is empty.
int CrtStream::fill() {
  if (!reading) {
    if (!update) return kEof;
    reading = true;
  }
  buffer = readLow(kBufferSize);
  ptr = 0;
  cnt = buffer.size();
  if (cnt == 0) {
    eof = true;
    return kEof;
  }
  --cnt;
  return static_cast<unsigned char>(buffer[ptr++]);
}

int CrtStream::getc() {
  if (cnt > 0) {
    --cnt;
    return static_cast<unsigned char>(buffer[ptr++]);
  }
  return fill();
}

// _flsbuf: puts a byte when the buffer has no room, switching the stream to writing.
int CrtStream::flushAndPut(int c) {
  if (!writing) {
    if (!update) {
      error = true;
      return kEof;
    }
    writing = true;
  }
  if (reading) {
    if (!eof) {
      error = true;
      return kEof;
    }
    buffer.clear();
    ptr = 0;
    cnt = 0;
    reading = false;
    eof = false;
  }
  if (cnt == 0) {
    if (const int r = flushBuffer(); r != 0) return r;
    writing = true;
    buffer.assign(kBufferSize, '\0');
    cnt = kBufferSize;
  }
  buffer[ptr++] = static_cast<char>(c);
  --cnt;
  return c & 0xFF;
}

int CrtStream::putc(int c) {
  if (cnt > 0) {
    // The buffer has room, or holds unread data, which the byte replaces. Wine's msvcrt writes
    // the buffer out as soon as a line feed is put this way (msvcrt.dll on Windows waits until
    // the buffer is full); when the buffer held read data, that data is dropped.
    buffer[ptr++] = static_cast<char>(c);
    --cnt;
    if (c == '\n') {
      const int r = flushBuffer();
      return r != 0 ? r : c;
    }
    return c & 0xFF;
  }
  return flushAndPut(c);
}

int CrtStream::write(const std::string& bytes) {
  for (char c : bytes) {
    if (cnt > 0) {
      buffer[ptr++] = c;
      --cnt;
    } else if (flushAndPut(static_cast<unsigned char>(c)) == kEof) {
      return kEof;
    }
  }
  return 0;
}

long CrtStream::tell() const {
  long at = pos;
  if (writing) {
    at += static_cast<long>(ptr);
    if (text) at += lineFeeds(buffer, 0, ptr);
  } else if (cnt == 0) {
    // nothing buffered
  } else if (size() == pos) {
    at -= static_cast<long>(cnt);
    if (text) at -= lineFeeds(buffer, ptr, ptr + cnt);
  } else {
    at = at - static_cast<long>(kBufferSize) + static_cast<long>(ptr);
    if (text) at += lineFeeds(buffer, 0, ptr) - (joinedLf ? 1 : 0);
  }
  return at;
}

int CrtStream::seek(long offset, int origin) {
  if (origin == kSeekCur && reading) {
    origin = kSeekSet;
    offset += tell();
  }
  flushBuffer();
  if (update) reading = writing = false;
  eof = false;
  long base = 0;
  if (origin == kSeekCur) {
    base = pos;
  } else if (origin == kSeekEnd) {
    base = size();
  } else if (origin != kSeekSet) {
    return -1;
  }
  if (base + offset < 0) return -1;
  pos = base + offset;
  atEof = false;
  joinedLf = false;
  return 0;
}

}  // namespace tvx::sim
