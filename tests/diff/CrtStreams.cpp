#include "CrtStreams.h"

#include <cstdio>

using tvx::FileStream;

namespace {
std::FILE* file(FileStream* stream) { return reinterpret_cast<std::FILE*>(stream); }
}  // namespace

FileStream* CrtStreams::fopen(const char* path, const char* mode) {
  return reinterpret_cast<FileStream*>(std::fopen(path, mode));
}
char* CrtStreams::fgets(char* buffer, int size, FileStream* stream) { return std::fgets(buffer, size, file(stream)); }
int CrtStreams::fputs(const char* text, FileStream* stream) { return std::fputs(text, file(stream)); }
int CrtStreams::fputc(int c, FileStream* stream) { return std::fputc(c, file(stream)); }
int CrtStreams::fseek(FileStream* stream, long offset, int origin) { return std::fseek(file(stream), offset, origin); }
long CrtStreams::ftell(FileStream* stream) { return std::ftell(file(stream)); }
int CrtStreams::fflush(FileStream* stream) { return std::fflush(file(stream)); }
int CrtStreams::fclose(FileStream* stream) { return std::fclose(file(stream)); }
int CrtStreams::feof(FileStream* stream) { return std::feof(file(stream)); }
int CrtStreams::ferror(FileStream* stream) { return std::ferror(file(stream)); }
