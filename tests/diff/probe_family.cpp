// Where the two Windows families differ and the program can meet the difference: copying onto a
// hidden or system file, registry rights, the size kept for a string value, and waiting for a
// program to be ready for input (a window program, a console program).
#include <cstdio>
#include <string>
#include <vector>

#include "../../src/core/InstallContext.h"
#include "probe.h"

namespace {

using tvx::Platform;

void report(const Platform& p, const char* what, BOOL ok) {
  std::printf("  %s: %s", what, ok ? "ok" : "failed");
  if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
  std::printf("\n");
}

void copiesOntoMarkedFiles(const Platform& p) {
  const char* src = "C:\\probe\\copy\\src.txt";
  const char* marked = "C:\\probe\\copy\\marked.txt";
  const DWORD kinds[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
                         FILE_ATTRIBUTE_ARCHIVE};
  std::printf("copies onto marked files:\n");
  for (DWORD kind : kinds) {
    p.files.CopyFileA(src, marked, FALSE);
    p.files.SetFileAttributesA(marked, kind);
    std::printf(" attributes %#x:\n", static_cast<unsigned>(kind));
    p.system.SetLastError(0);
    report(p, "copy onto it", p.files.CopyFileA(src, marked, FALSE));
    std::printf("  attributes after: %#x\n", static_cast<unsigned>(p.files.GetFileAttributesA(marked)));
    p.files.SetFileAttributesA(marked, FILE_ATTRIBUTE_NORMAL);
    p.files.DeleteFileA(marked);
  }
}

// The 95 family ignores the rights a key was opened with, and keeps a string value with its own
// length; Wine behaves as the NT family whatever version it plays, so these run on NT only.
void registryRights(const Platform& p) {
  tvx::IRegistry& reg = p.registry;
  auto rc = [](const char* what, LONG code) { std::printf("  %s: %ld\n", what, static_cast<long>(code)); };
  std::printf("registry rights:\n");
  HKEY made = nullptr;
  reg.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\TvxProbe\\Rights\\Sub", &made, nullptr);
  reg.RegCloseKey(made);
  const char text[] = "abc";
  HKEY key = nullptr;
  reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\TvxProbe\\Rights", 0, KEY_QUERY_VALUE, &key);
  rc("set through a query handle",
     reg.RegSetValueExA(key, "Name", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)));
  char name[32];
  DWORD size = sizeof(name);
  rc("list subkeys through a query handle", reg.RegEnumKeyExA(key, 0, name, &size));
  HKEY created = nullptr;
  rc("open an existing subkey through a query handle", reg.RegCreateKeyExA(key, "Sub", &created, nullptr));
  if (created != nullptr) reg.RegCloseKey(created);
  // Making a new subkey needs KEY_CREATE_SUB_KEY on Windows NT; Wine does not check it, so that
  // case is left to the simulated machine's own tests.
  reg.RegCloseKey(key);
  reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\TvxProbe\\Rights", 0, KEY_SET_VALUE, &key);
  rc("set through a set handle",
     reg.RegSetValueExA(key, "Name", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)));
  size = sizeof(name);
  rc("query through a set handle", reg.RegQueryValueExA(key, "Name", nullptr, reinterpret_cast<BYTE*>(name), &size));
  // A string given with more bytes than it has: the NT family keeps them all.
  const char padded[16] = "abc";
  rc("set a string with 16 bytes",
     reg.RegSetValueExA(key, "Padded", REG_SZ, reinterpret_cast<const BYTE*>(padded), 16));
  reg.RegCloseKey(key);
  reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\TvxProbe\\Rights", 0, KEY_READ, &key);
  size = 0;
  rc("query its size", reg.RegQueryValueExA(key, "Padded", nullptr, nullptr, &size));
  std::printf("  kept: %u bytes\n", static_cast<unsigned>(size));
  reg.RegCloseKey(key);
}

struct Started {
  HANDLE process = nullptr;
  HANDLE thread = nullptr;
};

Started start(const Platform& p, const char* commandLine) {
  PROCESS_INFORMATION info;
  if (!startProgram(p, commandLine, info)) {
    std::printf("  %s: cannot start, error %u\n", commandLine, static_cast<unsigned>(p.system.GetLastError()));
    return {};
  }
  return {info.hProcess, info.hThread};
}

void waitForIdle(const Platform& p, const char* what, HANDLE process) {
  const DWORD before = p.time.GetTickCount();
  const DWORD result = p.processes.WaitForInputIdle(process, 1500);
  const DWORD took = p.time.GetTickCount() - before;
  // The error of a failed wait is not compared: Windows says ERROR_NOT_GUI_PROCESS, Wine leaves it.
  std::printf("  %s: %s, %s\n", what,
              result == 0              ? "ready"
              : result == WAIT_TIMEOUT ? "timed out"
                                       : "failed",
              took < 500 ? "at once" : "after a wait");
}

void finish(const Platform& p, const Started& s) {
  DWORD code = 0;
  const DWORD waited = p.processes.WaitForSingleObject(s.process, 10000);
  p.processes.GetExitCodeProcess(s.process, &code);
  std::printf("  ended: %s, exit code %u\n", waited == WAIT_OBJECT_0 ? "yes" : "no", static_cast<unsigned>(code));
  p.processes.CloseHandle(s.thread);
  p.processes.CloseHandle(s.process);
}

void waitsForInputIdle(const Platform& p) {
  std::printf("waiting for input idle:\n");
  const Started window = start(p, "C:\\probe\\run\\Idle.exe ProbeIdle");
  if (window.process != nullptr) {
    waitForIdle(p, "a window program", window.process);
    waitForIdle(p, "the same program again", window.process);
    HWND w = p.windows.FindWindowExA(nullptr, nullptr, nullptr, "ProbeIdle");
    if (w != nullptr) p.windows.SendMessageA(w, WM_CLOSE, 0, 0);
    finish(p, window);
  }
  const Started console = start(p, "C:\\probe\\run\\Console.exe 2000");
  if (console.process != nullptr) {
    waitForIdle(p, "a console program", console.process);
    finish(p, console);
  }
}

}  // namespace

void probeFamily(const Platform& p) {
  tvx::InstallContext family;
  tvx::classifyOs(family, p.system);
  const bool nt = family.isNT4 || family.isNT5;
  copiesOntoMarkedFiles(p);
  if (nt) registryRights(p);
  waitsForInputIdle(p);
}
