// The CD: read-only media. Its files carry the read-only attribute, every write to it fails, and
// a copy from it keeps the attribute until it is cleared.
#include <cstdio>

#include "probe.h"

namespace {

using tvx::Platform;

void attributes(const Platform& p, const char* path) {
  const DWORD a = p.files.GetFileAttributesA(path);
  if (a == INVALID_FILE_ATTRIBUTES) {
    std::printf("attributes of %s: none, error %u\n", path, static_cast<unsigned>(p.system.GetLastError()));
    return;
  }
  std::printf("attributes of %s:%s%s\n", path, (a & FILE_ATTRIBUTE_READONLY) ? " read-only" : "",
              (a & FILE_ATTRIBUTE_DIRECTORY) ? " folder" : "");
}

void report(const Platform& p, const char* what, BOOL ok) {
  std::printf("%s: %s", what, ok ? "ok" : "failed");
  if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
  std::printf("\n");
}

void open(const Platform& p, const char* path, const char* mode) {
  p.system.SetLastError(0);
  tvx::FileStream* f = p.streams.fopen(path, mode);
  std::printf("fopen %s \"%s\": %s", path, mode, f != nullptr ? "opened" : "NULL");
  if (f == nullptr) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
  std::printf("\n");
  if (f != nullptr) p.streams.fclose(f);
}

void found(const Platform& p, const char* pattern) {
  WIN32_FIND_DATAA data;
  HANDLE h = p.files.FindFirstFileA(pattern, &data);
  std::printf("find %s:", pattern);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::printf(" %s%s", data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? "(r)" : "");
    } while (p.files.FindNextFileA(h, &data));
    p.files.FindClose(h);
  }
  std::printf("\n");
}

}  // namespace

void probeCd(const Platform& p) {
  const char* ini = "D:\\setup.ini";
  const char* inf = "D:\\W2K-ME\\drv\\TVAUDIO.INF";
  const char* src = "C:\\probe\\copy\\src.txt";
  attributes(p, ini);
  attributes(p, inf);
  attributes(p, "D:\\W2K-ME");
  found(p, "D:\\W2K-ME\\drv\\*.INF");
  open(p, ini, "rb");
  open(p, ini, "r+b");
  open(p, ini, "wb");
  open(p, "D:\\new.txt", "wb");
  open(p, "D:\\new.txt", "ab");
  report(p, "copy onto a CD file", p.files.CopyFileA(src, ini, FALSE));
  report(p, "copy to a new CD file", p.files.CopyFileA(src, "D:\\W2K-ME\\new.txt", FALSE));
  report(p, "create a CD folder", p.files.CreateDirectoryA("D:\\NEWDIR"));
  report(p, "create an existing CD folder", p.files.CreateDirectoryA("D:\\W2K-ME"));
  report(p, "write a profile string on the CD",
         p.profiles.WritePrivateProfileStringA("InstallOption", "WindowsMEDriver", "0", ini));
  report(p, "write a new profile on the CD", p.profiles.WritePrivateProfileStringA("A", "B", "C", "D:\\new.ini"));
  report(p, "delete a CD file", p.files.DeleteFileA(ini));
  report(p, "clear a CD file's attributes", p.files.SetFileAttributesA(ini, FILE_ATTRIBUTE_NORMAL));
  report(p, "move a CD file", p.files.MoveFileA(ini, "D:\\moved.ini"));
  attributes(p, ini);
  char value[16];
  p.profiles.GetPrivateProfileStringA("InstallOption", "WindowsMEDriver", "", value, sizeof(value), ini);
  std::printf("CD value after the writes: \"%s\"\n", value);
  attributes(p, "D:\\new.txt");
  attributes(p, "D:\\NEWDIR");

  const char* copy = "C:\\probe\\fromcd.inf";
  report(p, "copy from the CD", p.files.CopyFileA(inf, copy, FALSE));
  attributes(p, copy);
  report(p, "copy from the CD again", p.files.CopyFileA(inf, copy, FALSE));
  open(p, copy, "r+b");
  report(p, "write a profile string into the copy",
         p.profiles.WritePrivateProfileStringA("SourceDisksNames", "200", "x", copy));
  report(p, "delete the read-only copy", p.files.DeleteFileA(copy));
  report(p, "clear the copy's attributes", p.files.SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL));
  attributes(p, copy);
  // Not compared: a copy over an existing file. Windows gives it the source's attributes, so a
  // copy from the CD is read-only again; Wine keeps those of the file it overwrites.
  report(p, "delete the cleared copy", p.files.DeleteFileA(copy));
}
