// The CD taken out of its drive and put back. On Windows a drive without its disc answers
// ERROR_NOT_READY; under Wine the probe takes the CD out by renaming the folder drive D: stands
// for, which Wine answers as a missing file or path. The probe prints those three codes alike
// ("not there"): what is compared is what fails and what a program gets instead (a default, no
// file, no start); the exact code is held to Windows' by the simulator's unit tests.
#include <cstdio>
#include <string>
#include <vector>

#include "probe.h"

namespace {

using tvx::Platform;

std::string why(DWORD error) {
  if (error == ERROR_NOT_READY || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return "not there";
  return "error " + std::to_string(error);
}

void report(const Platform& p, const char* what, BOOL ok) {
  const DWORD error = p.system.GetLastError();
  std::printf("  %s: %s\n", what, ok ? "ok" : ("failed, " + why(error)).c_str());
}

void uses(const Platform& p) {
  const char* ini = "D:\\setup.ini";
  const char* inf = "D:\\W2K-ME\\drv\\TVAUDIO.INF";
  for (const char* path : {ini, "D:\\W2K-ME"}) {
    const DWORD a = p.files.GetFileAttributesA(path);
    const DWORD error = p.system.GetLastError();
    std::printf("  attributes of %s: %s\n", path,
                a == INVALID_FILE_ATTRIBUTES ? ("none, " + why(error)).c_str()
                                             : ((a & FILE_ATTRIBUTE_READONLY) != 0 ? "read-only" : "writable"));
  }
  WIN32_FIND_DATAA data;
  std::vector<std::string> found;
  HANDLE find = p.files.FindFirstFileA("D:\\W2K-ME\\drv\\*.INF", &data);
  const DWORD findError = p.system.GetLastError();
  if (find != INVALID_HANDLE_VALUE) {
    do {
      found.push_back(data.cFileName);
    } while (p.files.FindNextFileA(find, &data));
    p.files.FindClose(find);
  }
  std::printf("  find D:\\W2K-ME\\drv\\*.INF:");
  if (find == INVALID_HANDLE_VALUE) std::printf(" none, %s", why(findError).c_str());
  for (const auto& name : found) std::printf(" %s", name.c_str());
  std::printf("\n");
  tvx::FileStream* f = p.streams.fopen(ini, "rb");
  const DWORD openError = p.system.GetLastError();
  std::printf("  fopen %s \"rb\": %s\n", ini, f != nullptr ? "opened" : ("NULL, " + why(openError)).c_str());
  if (f != nullptr) p.streams.fclose(f);
  std::printf("  int [InstallOption] WindowsMEDriver (default 7): %u\n",
              p.profiles.GetPrivateProfileIntA("InstallOption", "WindowsMEDriver", 7, ini));
  char value[16];
  const DWORD n = p.profiles.GetPrivateProfileStringA("InstallOption", "WindowsMEDriver", "none", value, 16, ini);
  std::printf("  string [InstallOption] WindowsMEDriver (default none): %u \"%s\"\n", static_cast<unsigned>(n), value);
  report(p, "copy from the CD", p.files.CopyFileA(inf, "C:\\probe\\medium.inf", FALSE));
  p.files.SetFileAttributesA("C:\\probe\\medium.inf", FILE_ATTRIBUTE_NORMAL);
  p.files.DeleteFileA("C:\\probe\\medium.inf");
  report(p, "make a CD folder the current one", p.files.SetCurrentDirectoryA("D:\\W2K-ME"));
  p.files.SetCurrentDirectoryA("C:\\probe");
  char full[MAX_PATH];
  const DWORD length = p.files.GetFullPathNameA("D:\\W2K-ME\\..\\setup.ini", MAX_PATH, full, nullptr);
  std::printf("  full path of D:\\W2K-ME\\..\\setup.ini: %u \"%s\"\n", static_cast<unsigned>(length), full);

  p.system.SetLastError(0);
  const UINT exec = p.processes.WinExec("D:\\TvxRun.exe", SW_SHOW);
  if (exec > 31) {
    programThatRan(p);
    std::printf("  WinExec D:\\TvxRun.exe: started\n");
  } else {
    std::printf("  WinExec D:\\TvxRun.exe: %s\n", why(exec).c_str());
  }
  PROCESS_INFORMATION info;
  if (!startProgram(p, "D:\\TvxRun.exe", info)) {
    std::printf("  CreateProcessA D:\\TvxRun.exe: failed, %s\n", why(p.system.GetLastError()).c_str());
    return;
  }
  const DWORD code = waitForEnd(p, info);
  programThatRan(p);
  std::printf("  CreateProcessA D:\\TvxRun.exe: ran, exit code %u\n", static_cast<unsigned>(code));
}

}  // namespace

void probeMedium(const Platform& p) {
  std::printf("the CD taken out:\n");
  takeOutCd(p);
  uses(p);
  std::printf("the CD put back:\n");
  putBackCd(p);
  uses(p);
}
