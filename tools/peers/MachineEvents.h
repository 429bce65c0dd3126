// The [Events] of the machine.ini that a Wine test puts at C:\peers\machine.ini, as the
// simulated machine reads them: event=<time>; <what>, where the time is "12 s", "1500 ms" or
// "reenumeration + 12 s", and what is mixers=N, open=Title|Class, close=Title-or-Class,
// import=file.reg or traybit=on.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace peers {

constexpr const char* kMachineIni = "C:\\peers\\machine.ini";
constexpr int kMaxEvents = 64;

struct Event {
  bool afterReenumeration = false;
  DWORD at = 0;  // milliseconds
  char verb[16] = {};
  char arg[256] = {};
  bool done = false;
};

inline char* trimmed(char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  char* end = text + std::strlen(text);
  while (end > text && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r')) *--end = '\0';
  return text;
}

// "12 s", "1500 ms" or "1500".
inline DWORD duration(const char* text) {
  char* rest = nullptr;
  const DWORD n = std::strtoul(text, &rest, 10);
  while (*rest == ' ') ++rest;
  return (rest[0] == 's' && rest[1] != 'm') ? n * 1000 : n;
}

// Reads the events; returns how many.
inline int readEvents(Event* events) {
  static char section[16384];
  const DWORD size = GetPrivateProfileSectionA("Events", section, sizeof(section), kMachineIni);
  int count = 0;
  for (char* line = section; line < section + size && *line != '\0' && count < kMaxEvents;
       line += std::strlen(line) + 1) {
    char copy[512];
    lstrcpynA(copy, line, sizeof(copy));
    char* value = std::strchr(copy, '=');
    char* semicolon = value != nullptr ? std::strchr(value, ';') : nullptr;
    if (semicolon == nullptr) continue;
    *semicolon = '\0';
    Event& e = events[count];
    char* when = trimmed(value + 1);
    if (_strnicmp(when, "reenumeration", 13) == 0) {
      e.afterReenumeration = true;
      when = std::strchr(when, '+');
      if (when == nullptr) continue;
      ++when;
    }
    e.at = duration(trimmed(when));
    char* what = trimmed(semicolon + 1);
    char* equals = std::strchr(what, '=');
    if (equals != nullptr) {
      *equals = '\0';
      lstrcpynA(e.arg, trimmed(equals + 1), sizeof(e.arg));
    }
    lstrcpynA(e.verb, trimmed(what), sizeof(e.verb));
    ++count;
  }
  return count;
}

}  // namespace peers
