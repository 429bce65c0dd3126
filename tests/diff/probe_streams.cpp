// File streams: msvcrt's text and binary modes, line reads, positions, update in place and the
// failures of fopen, each shown by reading the files back through the platform.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "probe.h"

namespace {

using tvx::FileStream;
using tvx::IFileStreams;
using tvx::Platform;

// The folder of the pass that runs, and whether it is the pass of binary modes only.
std::string kDir = "C:\\probe\\streams\\";
bool g_binary = false;

// A mode of the full pass, given "b" in the binary pass.
std::string md(const char* mode) {
  std::string m(mode);
  if (g_binary && m.find('b') == std::string::npos) m += 'b';
  return m;
}

// A byte string with its line ends and control bytes made visible.
std::string shown(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == 0x1A) {
      out += "^Z";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof(hex), "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string path(const char* name) { return kDir + name; }

void writeBytes(IFileStreams& s, const std::string& file, const std::string& bytes) {
  FileStream* f = s.fopen(file.c_str(), "wb");
  if (f == nullptr) {
    std::printf("streams: cannot write %s\n", file.c_str());
    return;
  }
  for (unsigned char c : bytes) s.fputc(c, f);
  s.fclose(f);
}

// The bytes of a file, read in binary mode.
std::string bytesOf(IFileStreams& s, const std::string& file) {
  FileStream* f = s.fopen(file.c_str(), "rb");
  if (f == nullptr) return "(cannot open)";
  std::string out;
  char buffer[64];
  while (s.fgets(buffer, sizeof(buffer), f) != nullptr) out += buffer;
  s.fclose(f);
  return out;
}

void dump(IFileStreams& s, const char* name) {
  const std::string b = bytesOf(s, path(name));
  std::printf("  %s now %u bytes: \"%s\"\n", name, static_cast<unsigned>(b.size()), shown(b).c_str());
}

// Reads a file line by line with the given buffer size, printing each piece and ftell after it.
void readLines(IFileStreams& s, const char* name, const char* mode, int size) {
  FileStream* f = s.fopen(path(name).c_str(), mode);
  if (f == nullptr) {
    std::printf("read %s \"%s\": cannot open\n", name, mode);
    return;
  }
  std::printf("read %s \"%s\" size %d: at %ld:", name, mode, size, s.ftell(f));
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
  while (s.fgets(buffer.data(), size, f) != nullptr) {
    std::printf(" \"%s\"@%ld", shown(buffer.data()).c_str(), s.ftell(f));
  }
  std::printf(" | eof %d error %d\n", s.feof(f) != 0, s.ferror(f) != 0);
  s.fclose(f);
}

// Reads a long file, printing only the length of each line and ftell after it.
void readLengths(IFileStreams& s, const char* name, const char* mode) {
  FileStream* f = s.fopen(path(name).c_str(), mode);
  if (f == nullptr) return;
  std::printf("read %s \"%s\" lengths@ftell:", name, mode);
  char buffer[1024];
  int line = 0;
  std::string last;
  while (s.fgets(buffer, sizeof(buffer), f) != nullptr) {
    last = buffer;
    std::printf("%s%u@%ld", line++ % 8 == 0 ? "\n  " : " ", static_cast<unsigned>(last.size()), s.ftell(f));
  }
  std::printf("\n  last \"%s\" | eof %d error %d\n", shown(last).c_str(), s.feof(f) != 0, s.ferror(f) != 0);
  s.fclose(f);
}

void makeFiles(IFileStreams& s) {
  writeBytes(s, path("crlf.txt"), "alpha\r\nbeta\r\ngamma\r\ndelta\r\n");
  writeBytes(s, path("lf.txt"), "line one\nline two\nline three\nline four\n");
  writeBytes(s, path("mixed.txt"), "crlf\r\nlf\nlone\rcr\r\n\r\n\nlast");
  writeBytes(s, path("lonecr.txt"), "ab\rcd\r\n\r");
  writeBytes(s, path("ctrlz.txt"),
             "before\r\nz\x1A"
             "after\r\nmore\r\n");
  writeBytes(s, path("long.txt"), "0123456789abcdefghijklmnopqrstuvwxyz\r\nshort\r\n");
  // Lines of 64 bytes after a first one of 65: the CR of line 64 is byte 4095, its LF byte 4096.
  std::string big = "F" + std::string(62, 'a') + "\r\n";
  for (int i = 1; i < 70; ++i) big += std::string(62, static_cast<char>('a' + i % 26)) + "\r\n";
  writeBytes(s, path("big.txt"), big);
  // Bare LF lines of 64 bytes beyond one buffer.
  std::string bigLf;
  for (int i = 0; i < 70; ++i) bigLf += std::string(63, static_cast<char>('A' + i % 26)) + "\n";
  writeBytes(s, path("biglf.txt"), bigLf);
  // A lone CR as byte 4095; a file of 4096 bytes ending in a CR; bare LF lines with an empty
  // line at byte 4096 and another full buffer after it.
  std::string bigCr = big.substr(0, 4095) + "\rx\r\n" + big.substr(4097);
  writeBytes(s, path("bigcr.txt"), bigCr);
  writeBytes(s, path("bigend.txt"), big.substr(0, 4096));
  std::string bigNl = bigLf.substr(0, 4096) + "\n" + bigLf + bigLf.substr(0, 1280);
  writeBytes(s, path("bignl.txt"), bigNl);
}

// Every file read line by line in each mode of the pass, then the update modes.
void reads(IFileStreams& s) {
  for (const char* mode : {"r", "rb"}) {
    if (g_binary && mode[1] != 'b') continue;
    for (const char* name : {"crlf.txt", "lf.txt", "mixed.txt", "lonecr.txt", "ctrlz.txt"}) {
      readLines(s, name, mode, 1024);
    }
    readLines(s, "long.txt", mode, 8);
    readLines(s, "crlf.txt", mode, 2);
    for (const char* name : {"big.txt", "biglf.txt", "bigcr.txt", "bigend.txt", "bignl.txt"}) {
      readLengths(s, name, mode);
    }
  }
  if (!g_binary) readLines(s, "crlf.txt", "r+", 1024);
  readLines(s, "lf.txt", "r+b", 1024);
}

// Prints what a call returned together with the stream's error and end flags.
void step(IFileStreams& s, FileStream* f, const char* what, long result) {
  std::printf("  %s: %ld (eof %d error %d)\n", what, result, s.feof(f) != 0, s.ferror(f) != 0);
}

// fclose, after which the stream is gone.
void close(IFileStreams& s, FileStream* f) { std::printf("  fclose: %d\n", s.fclose(f)); }

void line(IFileStreams& s, FileStream* f, const char* what) {
  char buffer[1024];
  const char* got = s.fgets(buffer, sizeof(buffer), f);
  std::printf("  %s: %s%s%s @%ld\n", what, got ? "\"" : "", got ? shown(got).c_str() : "NULL", got ? "\"" : "",
              s.ftell(f));
}

// One step of an update in place, named as the probe prints it: "fseek cur -3" (set, cur or
// end), "fputc B" ("fputc \\n" puts a line end), "fflush", "ftell", "feof"; any other name reads a
// line.
void act(IFileStreams& s, FileStream* f, const std::string& what) {
  if (what.rfind("fseek ", 0) == 0) {
    const std::string from = what.substr(6, 3);
    const int origin = from == "set" ? tvx::kSeekSet : from == "cur" ? tvx::kSeekCur : tvx::kSeekEnd;
    step(s, f, what.c_str(), s.fseek(f, std::stol(what.substr(10)), origin));
  } else if (what.rfind("fputc ", 0) == 0) {
    step(s, f, what.c_str(), s.fputc(what.compare(6, 2, "\\n") == 0 ? '\n' : what[6], f));
  } else if (what == "fflush") {
    step(s, f, what.c_str(), s.fflush(f));
  } else if (what == "ftell") {
    step(s, f, what.c_str(), s.ftell(f));
  } else if (what == "feof") {
    step(s, f, what.c_str(), s.feof(f));
  } else {
    line(s, f, what.c_str());
  }
}

// Writes a file, updates it through a stream opened with mode, step by step, then shows its bytes.
void update(IFileStreams& s, const char* name, const char* bytes, const char* mode, const char* how,
            std::initializer_list<const char*> steps) {
  writeBytes(s, path(name), bytes);
  std::printf("update %s \"%s\"%s:\n", name, mode, how);
  FileStream* f = s.fopen(path(name).c_str(), mode);
  for (const char* what : steps) act(s, f, what);
  close(s, f);
  dump(s, name);
}

const char* const kThreeLines = "alpha\r\nbeta\r\ngamma\r\n";
const char* const kLfLines = "line one\nline two\nline three\nline four\n";

void updatesBinary(IFileStreams& s) {
  update(s, "updb.txt", kThreeLines, "r+b", "",
         {"first line", "fseek cur 0", "fputc B", "fflush", "rest of the line", "fseek cur -3", "fputc \\n", "ftell",
          "fflush", "read after the write", "fseek end 0", "fputc Z"});
}

void updates(IFileStreams& s) {
  update(s, "upd.txt", kThreeLines, "r+", "",
         {"first line", "fseek cur 0", "fputc B", "ftell", "fflush", "rest of the line", "fseek set 1", "fputc \\n",
          "ftell", "fflush", "read after the write", "fseek end -2", "fputc E", "fflush", "read at the end", "feof"});

  updatesBinary(s);

  // Bare LF lines in text mode: ftell after the first line is too small, so a write at the
  // position it gives lands inside the first line.
  update(s, "updlf.txt", kLfLines, "r+", "", {"first line", "fseek cur 0", "fputc #"});

  // Writing right after reading, without a seek between them.
  update(s, "noseek.txt", "one\r\ntwo\r\n", "r+", " without a seek",
         {"first line", "fputc X", "next line", "past the end", "fputc Y at the end"});
}

void writes(IFileStreams& s) {
  std::printf("write text.txt \"w\":\n");
  FileStream* f = s.fopen(path("text.txt").c_str(), "w");
  step(s, f, "fputs a\\nb\\r\\nc", s.fputs("a\nb\r\nc", f) >= 0 ? 0 : -1);
  step(s, f, "ftell", s.ftell(f));
  step(s, f, "fputc d", s.fputc('d', f));
  std::printf("  in the file: \"%s\"\n", shown(bytesOf(s, path("text.txt"))).c_str());
  step(s, f, "fputc \\n", s.fputc('\n', f));
  std::printf("  in the file: \"%s\"\n", shown(bytesOf(s, path("text.txt"))).c_str());
  step(s, f, "ftell", s.ftell(f));
  char buffer[16];
  const char* got = s.fgets(buffer, sizeof(buffer), f);
  step(s, f, "fgets on a write stream", got != nullptr);
  close(s, f);
  dump(s, "text.txt");

  std::printf("write bin.txt \"wb\":\n");
  f = s.fopen(path("bin.txt").c_str(), "wb");
  step(s, f, "fputs a\\nb\\r\\n", s.fputs("a\nb\r\n", f) >= 0 ? 0 : -1);
  step(s, f, "ftell", s.ftell(f));
  close(s, f);
  dump(s, "bin.txt");

  std::printf("append text.txt \"a\":\n");
  f = s.fopen(path("text.txt").c_str(), "a");
  step(s, f, "ftell at the start", s.ftell(f));
  step(s, f, "fputs more\\n", s.fputs("more\n", f) >= 0 ? 0 : -1);
  close(s, f);
  dump(s, "text.txt");

  std::printf("read-only stream crlf.txt \"r\":\n");
  f = s.fopen(path("crlf.txt").c_str(), "r");
  step(s, f, "fputc on a read stream", s.fputc('x', f));
  close(s, f);
  dump(s, "crlf.txt");
}

void failures(const Platform& p) {
  IFileStreams& s = p.streams;
  auto open = [&](const char* what, const std::string& file, const char* textMode) {
    const std::string mode = md(textMode);
    p.system.SetLastError(0);
    FileStream* f = s.fopen(file.c_str(), mode.c_str());
    std::printf("fopen %s \"%s\": %s", what, mode.c_str(), f != nullptr ? "opened" : "NULL");
    if (f == nullptr) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
    std::printf("\n");
    if (f != nullptr) s.fclose(f);
  };
  open("missing file", path("none.txt"), "r");
  if (!g_binary) open("missing file", path("none.txt"), "rb");
  open("missing file", path("none.txt"), "r+");
  open("in a missing folder", kDir + "nofolder\\x.txt", "w");
  writeBytes(s, path("ro.txt"), "read only\r\n");
  p.files.SetFileAttributesA(path("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  open("read-only file", path("ro.txt"), "r");
  open("read-only file", path("ro.txt"), "r+");
  open("read-only file", path("ro.txt"), "w");
  open("read-only file", path("ro.txt"), "a");
  p.files.SetFileAttributesA(path("ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  dump(s, "ro.txt");
  p.files.CreateDirectoryA((kDir + "folder").c_str());
  open("a folder", kDir + "folder", "r");
  open("a folder", kDir + "folder", "w");

  // A file open in a stream: msvcrt shares it for reading and writing, not for deleting.
  std::printf("while crlf.txt is open \"rb\":\n");
  FileStream* held = s.fopen(path("crlf.txt").c_str(), "rb");
  open("the same file again", path("crlf.txt"), "r+");
  auto report = [&](const char* what, BOOL ok) {
    std::printf("  %s: %s", what, ok ? "ok" : "failed");
    if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
    std::printf("\n");
  };
  report("copy onto it", p.files.CopyFileA(path("lf.txt").c_str(), path("crlf.txt").c_str(), FALSE));
  report("copy from it", p.files.CopyFileA(path("crlf.txt").c_str(), path("copy.txt").c_str(), FALSE));
  report("write a profile string into it",
         p.profiles.WritePrivateProfileStringA("open", "key", "value", path("crlf.txt").c_str()));
  report("delete it", p.files.DeleteFileA(path("crlf.txt").c_str()));
  s.fclose(held);
  dump(s, "crlf.txt");
  report("delete it after fclose", p.files.DeleteFileA(path("crlf.txt").c_str()));

  std::printf("while out.txt is open \"wb\":\n");
  held = s.fopen(path("out.txt").c_str(), "wb");
  s.fputs("one\r\n", held);
  std::printf("  before fflush: \"%s\"\n", shown(bytesOf(s, path("out.txt"))).c_str());
  s.fflush(held);
  std::printf("  after fflush: \"%s\"\n", shown(bytesOf(s, path("out.txt"))).c_str());
  report("copy from it", p.files.CopyFileA(path("out.txt").c_str(), path("copy2.txt").c_str(), FALSE));
  report("copy onto it", p.files.CopyFileA(path("lf.txt").c_str(), path("out.txt").c_str(), FALSE));
  report("delete it", p.files.DeleteFileA(path("out.txt").c_str()));
  s.fclose(held);
  dump(s, "out.txt");
}

// A stream opened "wb" is not read and one opened "rb" is not written.
void wrongDirection(IFileStreams& s) {
  std::printf("fgets on a fresh \"wb\" stream:\n");
  FileStream* f = s.fopen(path("fresh.txt").c_str(), "wb");
  char buffer[16];
  step(s, f, "fgets", s.fgets(buffer, sizeof(buffer), f) != nullptr);
  step(s, f, "fputs x", s.fputs("x", f) >= 0 ? 0 : -1);
  close(s, f);
  dump(s, "fresh.txt");
  std::printf("fputc on an \"rb\" stream:\n");
  f = s.fopen(path("fresh.txt").c_str(), "rb");
  step(s, f, "fputc y", s.fputc('y', f));
  close(s, f);
  dump(s, "fresh.txt");
  std::printf("append \"ab\":\n");
  f = s.fopen(path("fresh.txt").c_str(), "ab");
  step(s, f, "ftell at the start", s.ftell(f));
  step(s, f, "fputs more", s.fputs("more", f) >= 0 ? 0 : -1);
  step(s, f, "ftell", s.ftell(f));
  close(s, f);
  dump(s, "fresh.txt");
}

// Bare LF lines in binary mode: the position after a line is exact, so a write there lands at
// the start of the next line.
void updateLfBinary(IFileStreams& s) {
  update(s, "updlf.txt", kLfLines, "r+b", "",
         {"first line", "fseek cur 0", "fputc #", "fseek set 0", "first line again", "second line"});
}

}  // namespace

void probeStreams(const Platform& p) {
  kDir = "C:\\probe\\streams\\";
  g_binary = false;
  p.files.CreateDirectoryA(kDir.c_str());
  makeFiles(p.streams);
  reads(p.streams);
  updates(p.streams);
  writes(p.streams);
  failures(p);
}

void probeBinaryStreams(const Platform& p, const char* folder) {
  kDir = std::string("C:\\probe\\") + folder + "\\";
  g_binary = true;
  std::printf("binary streams in %s:\n", folder);
  p.files.CreateDirectoryA(kDir.c_str());
  makeFiles(p.streams);
  reads(p.streams);
  updatesBinary(p.streams);
  updateLfBinary(p.streams);
  wrongDirection(p.streams);
  failures(p);
}
