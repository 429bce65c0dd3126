#include "LegacyFiles.h"

#include <vector>

#include "../core/Text.h"
#include "Cleanup.h"

namespace tvx {

namespace {

struct LegacyFile {
  const char* current;  // below the Windows directory
  const char* retired;
};

const LegacyFile kLegacyFiles[] = {
    {"\\SYSTEM\\SPATIAL.DLL", "\\SYSTEM\\SPATIAL.OLD"},
    {"\\SYSTEM\\SNX.DLL", "\\SYSTEM\\SNX.OLD"},
    {"\\SYSTEM\\Q3D.DLL", "\\SYSTEM\\Q3D.OLD"},
    {"\\SYSTEM\\TV4300.VXD", "\\SYSTEM\\4300VXD.OLD"},
    {"\\SYSTEM\\TVAUDIO.VXD", "\\SYSTEM\\TVAUDIO.OLD"},
    {"\\SYSTEM\\TV4300FM.DRV", "\\SYSTEM\\4300FDRV.OLD"},
    {"\\SYSTEM\\TVPCIFM.DRV", "\\SYSTEM\\TVPCIFM.OLD"},
    {"\\SYSTEM\\TVMPU.EXE", "\\SYSTEM\\TVMPU.OLD"},
    {"\\SYSTEM\\TVMPUPCI.DRV", "\\SYSTEM\\TVMPUPCI.OLD"},
    {"\\SYSTEM\\TVPCI95.DRV", "\\SYSTEM\\TVPCI95.OLD"},
    {"\\SYSTEM\\TVSMIDI.DRV", "\\SYSTEM\\TVSMIDI.OLD"},
    {"\\SYSTEM\\TVSWMPU.VXD", "\\SYSTEM\\TVSWMPU.OLD"},
    {"\\SYSTEM\\SMPINDEX.DAT", "\\SYSTEM\\SMPINDEX.OLD"},
    {"\\SYSTEM\\SMPDATA.DAT", "\\SYSTEM\\SMPDATA.OLD"},
    {"\\SYSTEM\\INITCARD.COM", "\\SYSTEM\\INITCARD.OLD"},
    {"\\SYSTEM\\SYNPROXY.DLL", "\\SYSTEM\\SYNPROX.OLD"},
    {"\\SYSTEM\\SYNBRIDG.DLL", "\\SYSTEM\\SYNBRIDG.OLD"},
    {"\\SYSTEM\\BANKPREP.EXE", "\\SYSTEM\\BANKPREP.OLD"},
    {"\\SYSTEM\\ASIO4400.DLL", "\\SYSTEM\\ASIO4400.OLD"},
    {"\\SYSTEM\\TVSYNTH.DRV", "\\SYSTEM\\TVSYNTH.OLD"},
    {"\\SYSTEM32\\DRIVERS\\TVPCI.SYS", "\\SYSTEM32\\DRIVERS\\TVPCI.OLD"},
    {"\\INF\\CATALOG\\TVPCI.CAT", "\\INF\\CATALOG\\TVPCI.OLD"},
    {"\\SYSTEM32\\DRIVERS\\TVAUDIO.SYS", "\\SYSTEM32\\DRIVERS\\TVAUDIO.OLD"},
    {"\\INF\\CATALOG\\tvaudio.CAT", "\\INF\\CATALOG\\tvaudio.OLD"},
    {"\\SYSTEM32\\TVprop.DLL", "\\SYSTEM32\\TVprop.OLD"},
    {"\\SYSTEM\\ROOMSIM.DLL", "\\SYSTEM\\ROOMSIM.OLD"},
};

// The earlier drivers' programs that WIN.INI may start.
const char* const kLegacyPrograms[] = {"TVMPU.EXE", "BANKPREP.EXE", "INITCARD.COM"};

bool isLegacyProgram(const std::string& program) {
  const auto slash = program.find_last_of("\\/:");
  const std::string fileName = slash == std::string::npos ? program : program.substr(slash + 1);
  for (const char* legacy : kLegacyPrograms) {
    if (equalsNoCase(fileName, legacy)) return true;
  }
  return false;
}

bool exists(IFileSystem& files, const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = files.FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  files.FindClose(find);
  return true;
}

// What the profile functions give when the entry cannot be read: a text no run entry holds.
const char* const kUnread = "\x01unread\x01";

// The whole "run" entry, however long; kUnread when WIN.INI has none or cannot be read.
std::string readRunEntry(IProfiles& profiles) {
  std::vector<char> buffer(1024);
  while (true) {
    DWORD n = profiles.GetPrivateProfileStringA("Windows", "run", kUnread, buffer.data(),
                                                static_cast<DWORD>(buffer.size()), "WIN.INI");
    if (n + 1 < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string RemoveLegacyRunPrograms(const std::string& run) {
  // Programs are separated by blanks or commas; each kept program keeps the separator that
  // followed it.
  struct Program {
    std::string name;
    std::string separator;
  };
  std::vector<Program> kept;
  std::size_t pos = run.find_first_not_of(" ,\t");
  while (pos != std::string::npos) {
    std::size_t end = run.find_first_of(" ,\t", pos);
    std::string name = run.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    std::size_t next = end == std::string::npos ? std::string::npos : run.find_first_not_of(" ,\t", end);
    std::string separator =
        end == std::string::npos ? "" : run.substr(end, next == std::string::npos ? std::string::npos : next - end);
    if (!isLegacyProgram(name)) kept.push_back({name, separator});
    pos = next;
  }
  if (kept.empty()) return " ";
  std::string out;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    out += kept[i].name;
    if (i + 1 < kept.size()) out += kept[i].separator.empty() ? " " : kept[i].separator;
  }
  return out;
}

void RetireLegacyFiles(const Platform& platform, const std::string& windowsDir) {
  for (const LegacyFile& file : kLegacyFiles) {
    const std::string retired = windowsDir + file.retired;
    const std::string current = windowsDir + file.current;
    if (exists(platform.files, current)) QueueRenameOnRestart(platform, retired, current);
  }
  // An entry that could not be read is left alone: writing it would lose the other programs.
  const std::string read = readRunEntry(platform.profiles);
  if (read == kUnread) return;
  const std::string run = RemoveLegacyRunPrograms(read);
  platform.profiles.WritePrivateProfileStringA("Windows", "run", run.c_str(), "WIN.INI");
}

}  // namespace tvx
