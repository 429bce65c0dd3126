// The C runtime's file streams on the simulated machine, as msvcrt.dll gives them: a 4096-byte
// buffer per stream, text mode translated when the buffer is filled or written out (CR LF read
// as LF, a Ctrl-Z ending the file, LF written as CR LF), and ftell computed the way msvcrt
// computes it: in text mode it takes every LF still in the read buffer for a CR LF of the file,
// so on a file with bare LF line ends it gives positions that are too small.
#include <algorithm>
#include <cstring>

#include "SimPlatform.h"
#include "Text.h"

namespace tvx::sim {

namespace {
constexpr std::size_t kBufferSize = 4096;
constexpr char kCtrlZ = 0x1A;

// Counts the line feeds in a range of the buffer.
long lineFeeds(const std::string& text, std::size_t from, std::size_t to) {
  return static_cast<long>(
      std::count(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(to), '\n'));
}
}  // namespace

FileStreams::~FileStreams() = default;

FileStreams::Stream* FileStreams::find(FileStream* stream) {
  auto it = streams_.find(reinterpret_cast<std::uintptr_t>(stream));
  return it == streams_.end() ? nullptr : it->second.get();
}

FileStream* FileStreams::fopen(const char* path, const char* mode) {
  auto p = files_.resolve(path);
  if (!p || p->parts.empty() || mode == nullptr) return nullptr;
  const std::string m(mode);
  if (m.empty() || std::string("rwa").find(m[0]) == std::string::npos) return nullptr;
  auto s = std::make_unique<Stream>();
  s->path = *p;
  const bool update = m.find('+') != std::string::npos;
  s->text = m.find('b') == std::string::npos;
  s->canRead = m[0] == 'r' || update;
  s->canWrite = m[0] != 'r' || update;
  s->append = m[0] == 'a';

  FileNode* node = m_.files.find(*p);
  if (node != nullptr && node->isDirectory) return nullptr;
  if (m[0] == 'r' && node == nullptr) {
    m_.lastError = files_.missingError(*p);
    return nullptr;
  }
  if (s->canWrite) {
    if (DWORD refused = files_.writeRefusal(*p, node); refused != ERROR_SUCCESS) {
      m_.lastError = refused;
      return nullptr;
    }
    if (node == nullptr) {
      node = m_.files.writeFile(*p, "");
      if (node == nullptr) {
        m_.lastError = ERROR_PATH_NOT_FOUND;
        return nullptr;
      }
    } else if (m[0] == 'w') {
      node->data.clear();
    }
    if (s->append) s->filePos = static_cast<long>(node->data.size());
  }
  m_.openFile(*p, s->canWrite);
  std::uintptr_t id = nextStream_;
  nextStream_ += 0x20;
  streams_[id] = std::move(s);
  return reinterpret_cast<FileStream*>(id);
}

// Writes the buffered output to the file, translated in text mode.
int FileStreams::fflush(FileStream* stream) {
  Stream* s = find(stream);
  if (s == nullptr) return kEof;
  if (s->pending.empty()) return 0;
  FileNode* node = m_.files.find(s->path);
  if (node == nullptr) {
    s->error = true;
    s->pending.clear();
    return kEof;
  }
  std::string out;
  for (char c : s->pending) {
    if (s->text && c == '\n') out += '\r';
    out += c;
  }
  s->pending.clear();
  if (s->append) s->filePos = static_cast<long>(node->data.size());
  std::string& data = node->data;
  const auto at = static_cast<std::size_t>(s->filePos);
  if (data.size() < at) data.resize(at, '\0');
  data.replace(at, std::min(out.size(), data.size() - at), out);
  s->filePos += static_cast<long>(out.size());
  return 0;
}

char* FileStreams::fgets(char* buffer, int size, FileStream* stream) {
  Stream* s = find(stream);
  if (s == nullptr || buffer == nullptr || size <= 0) return nullptr;
  if (!s->canRead) {
    s->error = true;
    return nullptr;
  }
  if (!s->pending.empty()) fflush(stream);
  int n = 0;
  while (n < size - 1) {
    if (s->next == s->buffer.size()) {
      // Fill the buffer: up to 4096 bytes of the file, translated in text mode.
      s->buffer.clear();
      s->next = 0;
      s->peekedLineFeed = false;
      FileNode* node = m_.files.find(s->path);
      const std::string empty;
      const std::string& data = node != nullptr ? node->data : empty;
      const auto from = static_cast<std::size_t>(std::min<long>(s->filePos, static_cast<long>(data.size())));
      if (s->ctrlZ || from >= data.size()) {
        s->eof = true;
        break;
      }
      std::string raw = data.substr(from, kBufferSize);
      s->filePos = static_cast<long>(from + raw.size());
      if (!s->text) {
        s->buffer = raw;
      } else {
        for (std::size_t i = 0; i < raw.size(); ++i) {
          char c = raw[i];
          if (c == kCtrlZ) {
            s->ctrlZ = true;
            break;
          }
          if (c == '\r') {
            if (i + 1 < raw.size()) {
              if (raw[i + 1] == '\n') continue;  // the LF follows
            } else if (static_cast<std::size_t>(s->filePos) < data.size() && data[s->filePos] == '\n') {
              // A CR ending the buffer: the LF after it is read now, and the pair becomes one LF.
              s->filePos += 1;
              s->peekedLineFeed = true;
              s->buffer += '\n';
              continue;
            }
          }
          s->buffer += c;
        }
      }
      if (s->buffer.empty()) {
        s->eof = true;
        break;
      }
    }
    const char c = s->buffer[s->next++];
    buffer[n++] = c;
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  return n == 0 ? nullptr : buffer;
}

int FileStreams::fputs(const char* text, FileStream* stream) {
  for (const char* c = text; *c != '\0'; ++c) {
    if (fputc(static_cast<unsigned char>(*c), stream) == kEof) return kEof;
  }
  return 0;
}

int FileStreams::fputc(int c, FileStream* stream) {
  Stream* s = find(stream);
  if (s == nullptr) return kEof;
  if (!s->canWrite) {
    s->error = true;
    return kEof;
  }
  if (s->next < s->buffer.size()) {
    // Writing after reading: the write happens where the reading stands.
    s->filePos = ftell(stream);
    s->buffer.clear();
    s->next = 0;
  }
  s->pending += static_cast<char>(c);
  if (s->pending.size() >= kBufferSize && fflush(stream) != 0) return kEof;
  return c & 0xFF;
}

long FileStreams::ftell(FileStream* stream) {
  Stream* s = find(stream);
  if (s == nullptr) return -1;
  long pos = s->filePos;
  if (!s->pending.empty()) {
    long written = static_cast<long>(s->pending.size());
    if (s->text) written += lineFeeds(s->pending, 0, s->pending.size());
    if (s->append) {
      FileNode* node = m_.files.find(s->path);
      pos = node != nullptr ? static_cast<long>(node->data.size()) : pos;
    }
    return pos + written;
  }
  const std::size_t remaining = s->buffer.size() - s->next;
  if (remaining == 0) return pos;
  if (!s->text) return pos - static_cast<long>(remaining);
  // msvcrt: the bytes of the file behind the unread part of the buffer, counting each LF in it
  // as the CR LF it would have been read from.
  FileNode* node = m_.files.find(s->path);
  const long size = node != nullptr ? static_cast<long>(node->data.size()) : pos;
  const long consumed = static_cast<long>(s->next) + lineFeeds(s->buffer, 0, s->next);
  if (pos == size) {
    long inBuffer = static_cast<long>(s->buffer.size()) + lineFeeds(s->buffer, 0, s->buffer.size());
    if (s->ctrlZ) ++inBuffer;
    return pos - inBuffer + consumed;
  }
  return pos - static_cast<long>(kBufferSize) - (s->peekedLineFeed ? 1 : 0) + consumed;
}

int FileStreams::fseek(FileStream* stream, long offset, int origin) {
  Stream* s = find(stream);
  if (s == nullptr) return -1;
  long target = offset;
  if (origin == kSeekCur) {
    target += ftell(stream);
  } else if (origin == kSeekEnd) {
    if (fflush(stream) != 0) return -1;
    FileNode* node = m_.files.find(s->path);
    target += node != nullptr ? static_cast<long>(node->data.size()) : 0;
  } else if (origin != kSeekSet) {
    return -1;
  }
  if (target < 0) return -1;
  if (fflush(stream) != 0) return -1;
  s->buffer.clear();
  s->next = 0;
  s->ctrlZ = false;
  s->eof = false;
  s->filePos = target;
  return 0;
}

int FileStreams::fclose(FileStream* stream) {
  Stream* s = find(stream);
  if (s == nullptr) return kEof;
  const int flushed = fflush(stream);
  m_.closeFile(s->path, s->canWrite);
  streams_.erase(reinterpret_cast<std::uintptr_t>(stream));
  return flushed == 0 ? 0 : kEof;
}

int FileStreams::feof(FileStream* stream) {
  Stream* s = find(stream);
  return s != nullptr && s->eof ? 1 : 0;
}

int FileStreams::ferror(FileStream* stream) {
  Stream* s = find(stream);
  return s != nullptr && s->error ? 1 : 0;
}

}  // namespace tvx::sim
