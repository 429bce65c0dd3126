// Setup.exe's own start and runtime, linked as Setup.exe is and run under Wine: the static
// objects made before WinMain and unmade after it in the opposite order, the command line
// WinMain is handed, the exit code, new and delete, the string functions and std::string.
// Writes one line per check to the file named in its command line's first word.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
char g_logName[MAX_PATH];

void say(const char* text) {
  if (g_log == INVALID_HANDLE_VALUE) {
    g_log =
        ::CreateFileA(g_logName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ::SetFilePointer(g_log, 0, nullptr, FILE_END);
  }
  DWORD written = 0;
  ::WriteFile(g_log, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  ::WriteFile(g_log, "\r\n", 2, &written, nullptr);
}

void check(const char* what, bool ok) {
  std::string line = std::string(ok ? "ok " : "FAILED ") + what;
  say(line.c_str());
}

}  // namespace

int g_madeCount = 0;
extern int g_otherMadeAt;  // runtime_check_static.cpp, linked after this file

namespace {

struct Static {
  const char* name;
  int madeAt;
  explicit Static(const char* n) : name(n), madeAt(++g_madeCount) {}
  ~Static() {
    // The log's name is known only once WinMain ran; these run after it.
    std::string line = std::string("unmade ") + name;
    say(line.c_str());
  }
};

Static g_first("first");
Static g_second("second");

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // The first word is the log file; the rest is echoed so the test sees how it was split.
  const char* blank = std::strchr(commandLine, ' ');
  const std::size_t nameLength =
      blank != nullptr ? static_cast<std::size_t>(blank - commandLine) : std::strlen(commandLine);
  std::strncpy(g_logName, commandLine, nameLength < MAX_PATH ? nameLength : MAX_PATH - 1);
  say((std::string("arguments [") + commandLine + "]").c_str());
  check("static objects made before WinMain, the last linked file's first, each file's in order",
        g_otherMadeAt == 1 && g_first.madeAt == 2 && g_second.madeAt == 3);

  char buffer[16] = "abcdefghij";
  std::memmove(buffer + 2, buffer, 5);
  check("memmove forwards over itself", std::strcmp(buffer, "ababcdehij") == 0);
  std::memmove(buffer, buffer + 3, 5);
  check("memmove backwards over itself", std::strcmp(buffer, "bcdehdehij") == 0);
  std::memset(buffer, 'x', 3);
  check("memset", std::memcmp(buffer, "xxxeh", 5) == 0);
  const unsigned char high[] = {0x80};
  const unsigned char low[] = {0x01};
  check("memcmp compares bytes unsigned", std::memcmp(high, low, 1) > 0 && std::memcmp(low, high, 1) < 0);
  check("strcmp compares bytes unsigned", std::strcmp("\x80", "\x01") > 0 && std::strcmp("a", "ab") < 0);
  check("strncmp stops at the count and at the end",
        std::strncmp("abcX", "abcY", 3) == 0 && std::strncmp("ab", "ab\0z", 4) == 0);
  check("memchr", std::memchr("abc", 'c', 3) != nullptr && std::memchr("abc", 'c', 2) == nullptr);
  char padded[6];
  std::memset(padded, '#', sizeof(padded));
  std::strncpy(padded, "ab", sizeof(padded));
  check("strncpy pads with NULs", std::memcmp(padded, "ab\0\0\0\0", 6) == 0);
  std::strncpy(padded, "abcdefgh", 3);
  check("strncpy stops at the count", std::memcmp(padded, "abc\0\0\0", 6) == 0);
  const char* text = "PCI\\VEN_1D0C&DEV_0111";
  check("strstr finds, misses and takes an empty part", std::strstr(text, "DEV_0111") == text + 13 &&
                                                            std::strstr(text, "DEV_0112") == nullptr &&
                                                            std::strstr(text, "") == text);
  check("strchr finds the end", std::strchr(text, '\0') == text + std::strlen(text));

  std::string s = "C:\\Program Files\\Tarvic\\";
  s += std::string(300, 'x');
  s.replace(3, 7, "PROG");
  check("std::string grows and replaces", s.size() == 321 && s.compare(0, 9, "C:\\PROG F") == 0);
  check("std::string finds", s.find("Tarvic") == 14 && s.rfind('\\') == 20 && s.find("none") == std::string::npos);
  char* block = new char[1 << 20];
  block[(1 << 20) - 1] = 'z';
  delete[] block;
  check("new and delete of a megabyte", true);
  return 7;
}
