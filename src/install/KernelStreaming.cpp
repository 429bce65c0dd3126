#include <cstring>

#include "../core/PathText.h"
#include "../core/Scoped.h"
#include "../core/Text.h"
#include "Steps.h"

namespace tvx {

namespace {

constexpr int kLineBuffer = 1024;

struct CopyLine {
  const char* name;         // the file a copy-list line names, at the start of the line
  const char* replacement;  // the line that keeps an existing file of that name
};

const CopyLine kStreamingFiles[] = {{"ksuser.dll", "ksuser.dll,,,0x00000010"},
                                    {"stream.sys", "stream.sys,,,0x00000010"},
                                    {"ks.sys", "ks.sys,,,0x00000010"},
                                    {"ksproxy.ax", "ksproxy.ax,,,0x00000010"}};
const CopyLine kFilterFiles[] = {{"mspclock.sys", "mspclock.sys,,,0x00000010"},
                                 {"mskssrv.sys", "mskssrv.sys,,,0x00000010"}};

struct KsInf {
  const char* inf;
  const char* work;
  bool filters;  // ksfilter.inf: its own names, and its source-disk lines ("name=") kept
};

const KsInf kKs = {"ks.inf", "ks.new", false};
const KsInf kWdmAudio = {"wdmaudio.inf", "wdmaudio.new", false};
const KsInf kKsFilter = {"ksfilter.inf", "ksfilter.new", true};

bool beginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }
bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The replacement for a line that starts a line of the INF, or null when the line is kept as read.
const char* replacementFor(const KsInf& file, const std::string& lower, bool exempt) {
  if (!file.filters) {
    if (exempt) return nullptr;
    for (const CopyLine& line : kStreamingFiles) {
      if (!beginsWith(lower, line.name)) continue;
      return contains(lower, line.replacement) ? nullptr : line.replacement;
    }
    return nullptr;
  }
  for (const CopyLine& line : kFilterFiles) {
    if (!beginsWith(lower, line.name) || contains(lower, std::string(line.name) + "=")) continue;
    return contains(lower, line.replacement) ? nullptr : line.replacement;
  }
  return nullptr;
}

// Streams Windows' INF into its work file line by line, replacing the copy lines, and copies the
// work file over the INF only when the INF was read to its end and the work file written whole:
// anything less would cut Windows' own INF short.
void patchInf(const Platform& platform, const std::string& infDir, const KsInf& file) {
  IFileStreams& streams = platform.streams;
  const std::string infPath = infDir + file.inf;
  const std::string workPath = infDir + file.work;
  ScopedStream inFile(streams, infPath.c_str(), "rb");
  ScopedStream outFile(streams, workPath.c_str(), "wb");
  if (!inFile.isOpen() || !outFile.isOpen()) {
    inFile.close();  // the INF first, as it was opened first
    return;
  }
  FileStream* in = inFile.get();
  FileStream* out = outFile.get();
  bool whole = true;      // every byte read came through as text
  bool written = true;    // every write succeeded
  bool exempt = false;    // inside or after the first "...DelFiles]" section
  bool lineStart = true;  // the next piece read starts a line (a longer line comes in pieces)
  bool dropRest = false;  // the rest of a replaced line is not written
  char line[kLineBuffer];
  long before = streams.ftell(in);
  while (streams.fgets(line, kLineBuffer, in) != nullptr) {
    const std::size_t length = std::strlen(line);
    const long after = streams.ftell(in);
    if (after - before != static_cast<long>(length)) {
      whole = false;  // a NUL byte in the line: the text functions cannot carry it through
      break;
    }
    before = after;
    const bool startsLine = lineStart;
    lineStart = length > 0 && line[length - 1] == '\n';
    if (!startsLine && dropRest) continue;
    dropRest = false;
    const std::string lower = lowerCased(line);
    if (!file.filters && contains(lower, "delfiles]")) exempt = true;
    const char* replacement = startsLine ? replacementFor(file, lower, exempt) : nullptr;
    if (replacement == nullptr) {
      written = written && streams.fputs(line, out) >= 0;
      continue;
    }
    written = written && streams.fputs(replacement, out) >= 0 && streams.fputc('\r', out) != kEof &&
              streams.fputc('\n', out) != kEof;
    dropRest = !lineStart;
  }
  whole = whole && streams.ferror(in) == 0 && streams.feof(in) != 0;
  inFile.close();
  written = outFile.close() == 0 && written;
  if (whole && written) platform.files.CopyFileA(workPath.c_str(), infPath.c_str(), FALSE);
}

}  // namespace

void PatchKernelStreamingInfs(const InstallContext& ctx, const Platform& platform, DriverRunKind kind, bool vxdFamily) {
  // The CD's runs patch all three; the download's run the first two.
  const KsInf* const files[] = {&kKs, &kWdmAudio, &kKsFilter};
  std::size_t count = 0;
  switch (kind) {
    case DriverRunKind::MainDialogWithSuite:
    case DriverRunKind::MainDialogDriverOnly:
    case DriverRunKind::CommandLine:
      if (ctx.isWin98 && !vxdFamily) count = 3;
      break;
    case DriverRunKind::WebPackage:
      if (ctx.isWin98SE && ctx.installWDMDriver != 0) count = 2;
      break;
    case DriverRunKind::WdmOptionsDialog:
      break;
  }
  const std::string infDir = infFolderIn(windowsFolder(platform.system));
  if (infDir.empty()) return;  // no Windows folder: no file of Windows' own is touched
  for (std::size_t i = 0; i < count; ++i) patchInf(platform, infDir, *files[i]);
}

}  // namespace tvx
