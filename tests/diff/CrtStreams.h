// The C runtime's streams of msvcrt.dll, for the probe to hold the simulated machine's streams
// against (Setup.exe has streams of its own and does not use these).
#pragma once
#include "../../src/platform/IFileStreams.h"

class CrtStreams final : public tvx::IFileStreams {
 public:
  tvx::FileStream* fopen(const char* path, const char* mode) override;
  char* fgets(char* buffer, int size, tvx::FileStream* stream) override;
  int fputs(const char* text, tvx::FileStream* stream) override;
  int fputc(int c, tvx::FileStream* stream) override;
  int fseek(tvx::FileStream* stream, long offset, int origin) override;
  long ftell(tvx::FileStream* stream) override;
  int fflush(tvx::FileStream* stream) override;
  int fclose(tvx::FileStream* stream) override;
  int feof(tvx::FileStream* stream) override;
  int ferror(tvx::FileStream* stream) override;
};
