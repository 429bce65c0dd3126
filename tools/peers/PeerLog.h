// The stand-ins write down what happened to them, one line each, in C:\peers.log.
#pragma once
#include <windows.h>

#include <cstdarg>
#include <cstdio>

inline void peerLog(const char* format, ...) {
  if (FILE* log = std::fopen("C:\\peers.log", "ab")) {
    va_list args;
    va_start(args, format);
    std::vfprintf(log, format, args);
    va_end(args);
    std::fprintf(log, "\r\n");
    std::fclose(log);
  }
}
