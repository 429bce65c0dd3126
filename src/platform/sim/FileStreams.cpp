// The C runtime's file streams on the simulated machine: each FILE handed out is a CrtStream,
// which holds msvcrt's buffering and text mode; this file opens and closes them as msvcrt's fopen
// and fclose do, with the errors Windows gives. Setup.exe's own streams on Windows are binary
// only, and so are these unless the machine plays msvcrt.dll's (crtTextModes).
#include <cstring>

#include "CrtStream.h"
#include "SimPlatform.h"

namespace tvx::sim {

FileStreams::~FileStreams() = default;

CrtStream* FileStreams::find(FileStream* stream) {
  auto it = streams_.find(reinterpret_cast<std::uintptr_t>(stream));
  return it == streams_.end() ? nullptr : it->second.get();
}

FileStream* FileStreams::fopen(const char* path, const char* mode) {
  if (m_.injectFault("fopen", ERROR_ACCESS_DENIED)) return nullptr;
  auto p = files_.resolve(path);
  if (!p || p->parts.empty() || mode == nullptr) return nullptr;
  const std::string m(mode);
  if (m.empty() || std::string("rwa").find(m[0]) == std::string::npos) return nullptr;
  if (!m_.crtTextModes && m.find('b') == std::string::npos) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  auto s = std::make_unique<CrtStream>(m_.files, *p, m);
  s->cutShort = &m_.writesCutShort;
  FileNode* node = m_.fileAt(*p);
  if (node != nullptr && node->isDirectory) {
    m_.lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  if (m[0] == 'r' && node == nullptr) {
    m_.lastError = files_.missingError(*p);
    return nullptr;
  }
  if (node != nullptr && m_.holds(*p)) {
    m_.lastError = ERROR_SHARING_VIOLATION;
    return nullptr;
  }
  if (s->openedForWriting) {
    if (DWORD refused = files_.writeRefusal(*p, node); refused != ERROR_SUCCESS) {
      m_.lastError = refused;
      return nullptr;
    }
    if (node == nullptr) {
      if (DWORD missing = files_.missingError(*p); missing != ERROR_FILE_NOT_FOUND) {
        m_.lastError = missing;
        return nullptr;
      }
      if (DWORD refused = files_.createRefusal(*p); refused != ERROR_SUCCESS) {
        m_.lastError = refused;
        return nullptr;
      }
      m_.files.writeFile(*p, "");
    } else if (m[0] == 'w') {
      node->data.clear();
    }
  }
  if (s->openedForWriting && m[0] == 'r' && node != nullptr) s->opened = node->data;
  m_.openFile(*p, s->openedForWriting);
  std::uintptr_t id = nextStream_;
  nextStream_ += 0x20;
  streams_[id] = std::move(s);
  return reinterpret_cast<FileStream*>(id);
}

int FileStreams::fflush(FileStream* stream) {
  if (CrtStream* full = find(stream); full != nullptr && m_.injectFault("fflush")) full->diskFull = true;
  CrtStream* s = find(stream);
  return s != nullptr ? s->flushBuffer() : kEof;
}

char* FileStreams::fgets(char* buffer, int size, FileStream* stream) {
  if (CrtStream* failing = find(stream); failing != nullptr && m_.injectFault("fgets")) {
    failing->error = true;  // a read error: the line is lost
    return nullptr;
  }
  CrtStream* s = find(stream);
  if (s == nullptr || buffer == nullptr || size <= 0) return nullptr;
  char* out = buffer;
  int c = kEof;
  while (size > 1 && (c = s->getc()) != kEof && c != '\n') {
    *out++ = static_cast<char>(c);
    --size;
  }
  if (c == kEof && out == buffer) return nullptr;
  if (c != kEof && size > 1) *out++ = static_cast<char>(c);
  *out = '\0';
  return buffer;
}

int FileStreams::fputs(const char* text, FileStream* stream) {
  if (CrtStream* full = find(stream); full != nullptr && m_.injectFault("fputs")) {
    full->diskFull = true;
    full->error = true;
    return kEof;
  }
  CrtStream* s = find(stream);
  return s != nullptr && text != nullptr ? s->write(text) : kEof;
}

int FileStreams::fputc(int c, FileStream* stream) {
  if (CrtStream* full = find(stream); full != nullptr && m_.injectFault("fputc")) {
    full->diskFull = true;
    full->error = true;
    return kEof;
  }
  CrtStream* s = find(stream);
  return s != nullptr ? s->putc(c) : kEof;
}

long FileStreams::ftell(FileStream* stream) {
  if (find(stream) != nullptr && m_.injectFault("ftell")) return -1;
  CrtStream* s = find(stream);
  return s != nullptr ? s->tell() : -1;
}

int FileStreams::fseek(FileStream* stream, long offset, int origin) {
  if (find(stream) != nullptr && m_.injectFault("fseek")) return -1;
  CrtStream* s = find(stream);
  return s != nullptr ? s->seek(offset, origin) : -1;
}

int FileStreams::fclose(FileStream* stream) {
  if (CrtStream* full = find(stream); full != nullptr && m_.injectFault("fclose")) full->diskFull = true;
  CrtStream* s = find(stream);
  if (s == nullptr) return kEof;
  // msvcrt's fclose fails on a stream that had an error before, as well as on a failed flush.
  const bool failed = s->flushBuffer() != 0 || s->error;
  if (s->opened) recordPatches(s->path, *s->opened);
  m_.closeFile(s->path, s->openedForWriting);
  streams_.erase(reinterpret_cast<std::uintptr_t>(stream));
  return failed ? kEof : 0;
}

// What an update of a file in place changed, line by line, for the report.
void FileStreams::recordPatches(const WinPath& path, const std::string& before) {
  FileNode* node = m_.files.find(path);
  if (node == nullptr || node->data == before) return;
  const auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
      const auto end = text.find('\n', start);
      std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out.push_back(line);
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return out;
  };
  const auto old = lines(before);
  const auto now = lines(node->data);
  if (old.size() != now.size()) {
    m_.record("patched", {{"file", path.str()}, {"line", "(whole file)"}, {"old", ""}, {"new", ""}});
    return;
  }
  for (std::size_t i = 0; i < old.size(); ++i) {
    if (old[i] != now[i]) {
      m_.record("patched", {{"file", path.str()}, {"line", std::to_string(i + 1)}, {"old", old[i]}, {"new", now[i]}});
    }
  }
}

int FileStreams::feof(FileStream* stream) {
  CrtStream* s = find(stream);
  return s != nullptr && s->eof ? 1 : 0;
}

int FileStreams::ferror(FileStream* stream) {
  CrtStream* s = find(stream);
  return s != nullptr && s->error ? 1 : 0;
}

}  // namespace tvx::sim
