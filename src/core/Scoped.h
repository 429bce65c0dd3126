// Holders of what the program opens over the platform: a registry key and a file stream, each
// closed once, by close() where the order of the calls asks for it, else when the holder goes.
#pragma once
#include "../platform/Platform.h"

namespace tvx {

class ScopedKey {
 public:
  explicit ScopedKey(IRegistry& registry) : registry_(registry) {}
  // Opens `path` under `root`; result() tells how that went.
  ScopedKey(IRegistry& registry, HKEY root, const char* path, REGSAM access) : registry_(registry) {
    open(root, path, access);
  }
  ~ScopedKey() { close(); }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  // RegOpenKeyExA's answer; the key is held only when it is ERROR_SUCCESS. A key still held is
  // closed first.
  LONG open(HKEY root, const char* path, REGSAM access) {
    close();
    HKEY key = nullptr;
    result_ = registry_.RegOpenKeyExA(root, path, 0, access, &key);
    if (result_ == ERROR_SUCCESS) {
      key_ = key;
      open_ = true;
    }
    return result_;
  }
  void close() {
    if (!open_) return;
    open_ = false;
    registry_.RegCloseKey(key_);
  }
  bool isOpen() const { return open_; }
  LONG result() const { return result_; }
  HKEY get() const { return key_; }

 private:
  IRegistry& registry_;
  HKEY key_ = nullptr;
  bool open_ = false;
  LONG result_ = ERROR_FILE_NOT_FOUND;
};

class ScopedStream {
 public:
  ScopedStream(IFileStreams& streams, const char* path, const char* mode)
      : streams_(streams), stream_(streams.fopen(path, mode)) {}
  ~ScopedStream() { close(); }
  ScopedStream(const ScopedStream&) = delete;
  ScopedStream& operator=(const ScopedStream&) = delete;

  // fclose's answer (0: every byte written); 0 when nothing is held.
  int close() {
    if (stream_ == nullptr) return 0;
    FileStream* stream = stream_;
    stream_ = nullptr;
    return streams_.fclose(stream);
  }
  bool isOpen() const { return stream_ != nullptr; }
  FileStream* get() const { return stream_; }

 private:
  IFileStreams& streams_;
  FileStream* stream_;
};

}  // namespace tvx
