// The C library's memory and string functions the program and the compiler call. Built with
// -fno-builtin and without loop-to-call rewriting, so that none of them turns into a call to
// itself.
#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  while (count-- > 0) *d++ = *s++;
  return to;
}

void* memmove(void* to, const void* from, std::size_t count) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  if (d < s) {
    while (count-- > 0) *d++ = *s++;
  } else {
    while (count > 0) {
      --count;
      d[count] = s[count];
    }
  }
  return to;
}

void* memset(void* to, int value, std::size_t count) {
  auto* d = static_cast<unsigned char*>(to);
  while (count-- > 0) *d++ = static_cast<unsigned char>(value);
  return to;
}

int memcmp(const void* a, const void* b, std::size_t count) {
  const auto* x = static_cast<const unsigned char*>(a);
  const auto* y = static_cast<const unsigned char*>(b);
  for (; count > 0; --count, ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
  }
  return 0;
}

void* memchr(const void* from, int value, std::size_t count) {
  const auto* s = static_cast<const unsigned char*>(from);
  for (; count > 0; --count, ++s) {
    if (*s == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(s);
  }
  return nullptr;
}

std::size_t strlen(const char* text) {
  const char* end = text;
  while (*end != '\0') ++end;
  return static_cast<std::size_t>(end - text);
}

std::size_t strnlen(const char* text, std::size_t most) {
  std::size_t n = 0;
  while (n < most && text[n] != '\0') ++n;
  return n;
}

int strncmp(const char* a, const char* b, std::size_t count) {
  for (; count > 0; --count, ++a, ++b) {
    const auto x = static_cast<unsigned char>(*a);
    const auto y = static_cast<unsigned char>(*b);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) break;
  }
  return 0;
}

int strcmp(const char* a, const char* b) { return strncmp(a, b, static_cast<std::size_t>(-1)); }

char* strcpy(char* to, const char* from) {
  char* d = to;
  while ((*d++ = *from++) != '\0') {
  }
  return to;
}

char* strncpy(char* to, const char* from, std::size_t count) {
  std::size_t i = 0;
  for (; i < count && from[i] != '\0'; ++i) to[i] = from[i];
  for (; i < count; ++i) to[i] = '\0';
  return to;
}

char* strstr(const char* text, const char* part) {
  const std::size_t n = strlen(part);
  for (; *text != '\0' || n == 0; ++text) {
    if (strncmp(text, part, n) == 0) return const_cast<char*>(text);
    if (*text == '\0') break;
  }
  return nullptr;
}

char* strchr(const char* text, int c) {
  for (;; ++text) {
    if (*text == static_cast<char>(c)) return const_cast<char*>(text);
    if (*text == '\0') return nullptr;
  }
}

}  // extern "C"
