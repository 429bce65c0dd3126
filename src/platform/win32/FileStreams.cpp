#include <cstdio>

#include "Win32Platform.h"

namespace tvx::win32 {

namespace {
std::FILE* file(FileStream* stream) { return reinterpret_cast<std::FILE*>(stream); }
}  // namespace

FileStream* FileStreams::fopen(const char* path, const char* mode) {
  return reinterpret_cast<FileStream*>(std::fopen(path, mode));
}
char* FileStreams::fgets(char* buffer, int size, FileStream* stream) { return std::fgets(buffer, size, file(stream)); }
int FileStreams::fputs(const char* text, FileStream* stream) { return std::fputs(text, file(stream)); }
int FileStreams::fputc(int c, FileStream* stream) { return std::fputc(c, file(stream)); }
int FileStreams::fseek(FileStream* stream, long offset, int origin) { return std::fseek(file(stream), offset, origin); }
long FileStreams::ftell(FileStream* stream) { return std::ftell(file(stream)); }
int FileStreams::fflush(FileStream* stream) { return std::fflush(file(stream)); }
int FileStreams::fclose(FileStream* stream) { return std::fclose(file(stream)); }
int FileStreams::feof(FileStream* stream) { return std::feof(file(stream)); }
int FileStreams::ferror(FileStream* stream) { return std::ferror(file(stream)); }

}  // namespace tvx::win32
