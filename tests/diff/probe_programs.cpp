// Programs found as Windows finds them: WinExec and CreateProcessA with a bare name search the
// program's own folder, the current folder, the system folder, the Windows folder and PATH, in
// this order; a file that is not a program does not start. The same stand-in sits in each folder
// and the probe tells which copy ran.
#include <cstdio>
#include <string>
#include <vector>

#include "probe.h"

namespace {

using tvx::Platform;

const char* const kMaster = "C:\\probe\\run\\TvxRun.exe";  // the stand-in, in a folder never searched

struct Place {
  const char* label;
  std::string folder;  // with a trailing backslash
};

std::string withSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return s;
}

std::string labelOf(const std::vector<Place>& places, const std::string& program) {
  if (program.empty()) return "(no program wrote down its start)";
  const std::string folder = upper(program.substr(0, program.rfind('\\') + 1));
  for (const auto& place : places) {
    if (upper(place.folder) == folder) return place.label;
  }
  return "(another folder)";
}

void started(const Platform& p, const std::vector<Place>& places, const char* how, const char* commandLine) {
  p.system.SetLastError(0);
  if (how[0] == 'W') {
    const UINT result = p.processes.WinExec(commandLine, 1);
    if (result <= 31) {
      std::printf("  WinExec(\"%s\"): %u\n", commandLine, result);
      return;
    }
    std::printf("  WinExec(\"%s\"): above 31, ran the copy in the %s\n", commandLine,
                labelOf(places, programThatRan(p)).c_str());
    return;
  }
  PROCESS_INFORMATION info;
  if (!startProgram(p, commandLine, info)) {
    std::printf("  CreateProcessA(\"%s\"): failed, error %u\n", commandLine,
                static_cast<unsigned>(p.system.GetLastError()));
    return;
  }
  const DWORD code = waitForEnd(p, info);
  std::printf("  CreateProcessA(\"%s\"): ran the copy in the %s, exit code %u\n", commandLine,
              labelOf(places, programThatRan(p)).c_str(), static_cast<unsigned>(code));
}

void report(const Platform& p, const char* what, BOOL ok) {
  std::printf("%s: %s", what, ok ? "ok" : "failed");
  if (!ok) std::printf(", error %u", static_cast<unsigned>(p.system.GetLastError()));
  std::printf("\n");
}

void writeText(const Platform& p, const std::string& path, const char* text) {
  if (tvx::FileStream* f = p.streams.fopen(path.c_str(), "wb")) {
    p.streams.fputs(text, f);
    p.streams.fclose(f);
  }
}

}  // namespace

void probePrograms(const Platform& p) {
  char buffer[MAX_PATH];
  std::vector<Place> places;
  p.system.GetModuleFileNameA(buffer, MAX_PATH);
  std::string module(buffer);
  places.push_back({"program's folder", module.substr(0, module.rfind('\\') + 1)});
  places.push_back({"current folder", "C:\\probe\\run\\cwd\\"});
  p.system.GetSystemDirectoryA(buffer, MAX_PATH);
  places.push_back({"system folder", withSlash(buffer)});
  p.system.GetWindowsDirectoryA(buffer, MAX_PATH);
  places.push_back({"Windows folder", withSlash(buffer)});
  places.push_back({"PATH folder", "C:\\probe\\run\\onpath\\"});

  p.files.CreateDirectoryA("C:\\probe\\run\\cwd");
  p.files.CreateDirectoryA("C:\\probe\\run\\onpath");
  p.files.SetCurrentDirectoryA("C:\\probe\\run\\cwd");
  for (const char* how : {"WinExec", "CreateProcessA"}) {
    std::printf("programs found by %s:\n", how);
    for (const auto& place : places) p.files.CopyFileA(kMaster, (place.folder + "TvxRun.exe").c_str(), FALSE);
    for (const auto& place : places) {
      started(p, places, how, "TvxRun.exe /probe");
      started(p, places, how, "TvxRun /probe");
      p.files.DeleteFileA((place.folder + "TvxRun.exe").c_str());
    }
    started(p, places, how, "TvxRun.exe /probe");
  }

  std::printf("files that are not programs:\n");
  writeText(p, "C:\\probe\\run\\Fake.exe", "not a program\r\n");
  writeText(p, "C:\\probe\\run\\cwd\\Fake.exe", "not a program\r\n");
  for (const char* how : {"WinExec", "CreateProcessA"}) {
    started(p, places, how, "C:\\probe\\run\\Fake.exe");
    started(p, places, how, "Fake.exe /x");
    started(p, places, how, "C:\\probe\\run\\None.exe");
    started(p, places, how, "C:\\probe\\nofolder\\None.exe");
  }
  report(p, "back to C:\\", p.files.SetCurrentDirectoryA("C:\\"));
}
