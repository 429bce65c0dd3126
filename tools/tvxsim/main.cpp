// tvxsim: shows what Setup.exe does to a Windows machine, on a simulated machine.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"
#include "HtmlMatrix.h"
#include "HtmlReport.h"
#include "Matrix.h"
#include "MatrixDiff.h"
#include "MatrixText.h"
#include "SimRun.h"

namespace {

const char* kUsage =
    "usage: tvxsim run MACHINE [--out DIR] [--json] [--html FILE]\n"
    "       tvxsim boot MACHINE [--out DIR] [--json] [--html FILE]\n"
    "       tvxsim matrix CD|IMAGE.iso [--folder DIR] [--against OLD] [--machine DIR] [--machines DIR]\n"
    "                     [--without WINDOWS,...] [--json] [--html DIR]\n"
    "\n"
    "  run    runs Setup.exe's logic on the machine folder and reports what it did:\n"
    "         messages with their answers, programs started, file, registry and INI\n"
    "         changes, the restart request, the exit code and the virtual time.\n"
    "  boot   starts Windows on the machine: Windows 95, 98 and Me carry out the\n"
    "         [rename] section of WININIT.INI. The machine folder is updated in place\n"
    "         unless --out is given.\n"
    "\n"
    "  matrix runs a CD folder (SETUP.EXE, setup.ini and the CD's folders, or a driver\n"
    "         download) on Windows 95, 98, 98 SE, Me, NT 4.0, 2000 and XP, each on a built-in\n"
    "         machine with the card and an earlier driver, along every path a person can take\n"
    "         there, and prints one row per run with its outcome and its sign-off. A row fails\n"
    "         the sign-off when it is INCOMPLETE or failed, crashed or hung, or the person was told\n"
    "         a file of the CD is missing. Exit code 1 when a row fails (run: when its one row\n"
    "         does), 2 on bad input.\n"
    "\n"
    "  --out DIR       write the changed machine to DIR, so that runs chain\n"
    "  --json          print the report as JSON\n"
    "  --html FILE     also write the report as one HTML page: the verdict, what happened with\n"
    "                  each dialog drawn from its template and each message box, the changes\n"
    "  --html DIR      (matrix) also write DIR/index.html, the table linked to a page per run\n"
    "  --machine DIR   (matrix) your machine folder instead of the built-in ones\n"
    "  --machines DIR  (matrix) keep each row's machine folder in DIR, for tvxsim run (without it,\n"
    "                  only the failing rows' folders are kept, in a folder the output names)\n"
    "  --folder DIR    (matrix of an image) the folder the image was made from: every file whose\n"
    "                  name or content differs as Windows reads the disc is listed, and fails it\n"
    "  --against OLD   (matrix) the last release (a folder or an image): what each row does\n"
    "                  differently; the exit code is the new CD's sign-off\n"
    "  --without LIST  (matrix) Windows versions the CD does not serve, e.g. nt40,win2k: their rows\n"
    "                  show as not served (win95, win98, win98se, winme, nt40, win2k, winxp)\n"
    "\n"
    "A machine folder holds machine.ini ([Machine] os=, version=4.10.2222, platform=0|1|2,\n"
    "csd=, setupapi=0|1, cfgmgr32=0|1, windows=, program=, args=,\n"
    "language=1033|1028|1036|1041|1042, ...; [Events] event=12 s|reenumeration + 3 s|copy 12;\n"
    "eject=D|insert=D|...), registry.reg and drives/<letter>/.\n"
    "\n"
    "[Script] says what the person does, one step a line, in order:\n"
    "  message=OK|Cancel|Yes|No      answers the next message box (OK when the script is silent)\n"
    "  again=OK|Cancel|Yes|No        (no step) answers a box that comes back, the same, right after\n"
    "                                it was answered, where the script has no step for it\n"
    "  click=ID                      clicks a control of the dialog on the screen\n"
    "  key=Return|Escape|Space|Tab   presses a key in it\n"
    "  sysmenu=about|close|NUMBER    chooses an item of its system menu\n"
    "  close                         closes its window\n"
    "  minimize                      minimises it (it draws its icon) and restores it\n"
    "Any step may end in \"; after=2 s\" (the time the person takes); a dialog step may end in\n"
    "\"; dialog=102\" or \"; dialog=TITLE\": only that dialog takes it. A dialog whose next step\n"
    "is not its own gets Return, then Escape, as a person who accepts what it offers. The report\n"
    "shows each dialog with its caption, language, controls and texts when it appears, what was done in\n"
    "it and how it ended.\n";

int usageError(const std::string& message) {
  std::fprintf(stderr, "tvxsim: %s\n\n%s", message.c_str(), kUsage);
  return 2;
}

// Splits "nt40,win2k" into its names.
std::vector<std::string> namesIn(const std::string& list) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at <= list.size()) {
    const std::size_t comma = std::min(list.find(',', at), list.size());
    if (comma > at) names.push_back(list.substr(at, comma - at));
    at = comma + 1;
  }
  return names;
}

// tvxsim matrix CD [--machine DIR] [--machines DIR] [--without LIST] [--json] [--html DIR]
int runMatrixCommand(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path cd = argv[2];
  std::optional<fs::path> base;
  fs::path keep;
  fs::path html;
  std::vector<std::string> without;
  std::optional<fs::path> folder;
  std::optional<fs::path> against;
  bool asJson = false;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      asJson = true;
    } else if (arg == "--folder" && i + 1 < argc) {
      folder = argv[++i];
    } else if (arg == "--against" && i + 1 < argc) {
      against = argv[++i];
    } else if (arg == "--machine" && i + 1 < argc) {
      base = argv[++i];
    } else if (arg == "--machines" && i + 1 < argc) {
      keep = argv[++i];
    } else if (arg == "--html" && i + 1 < argc) {
      html = argv[++i];
    } else if (arg == "--without" && i + 1 < argc) {
      for (const auto& name : namesIn(argv[++i])) without.push_back(name);
      const std::string unknown = tvx::sim::unknownVersion(without);
      if (!unknown.empty()) return usageError("unknown Windows \"" + unknown + "\" after --without");
    } else {
      return usageError("unknown option \"" + arg + "\"");
    }
  }
  // The rows' machine folders: kept where asked; else in a folder of this run's own, of which
  // the failing rows' stay for a look (the table names them).
  char pattern[] = "/tmp/tvxsim-matrix.XXXXXX";
  const bool temporary = keep.empty();
  if (temporary) {
    if (mkdtemp(pattern) == nullptr) return usageError("cannot make a temporary folder");
    keep = pattern;
  }
  int status = 0;
  std::size_t failing = 0;
  try {
    // Against the last release, each CD's rows in a folder of their own.
    tvx::sim::Matrix matrix = tvx::sim::runMatrix(cd, base, against ? keep / "new" : keep, without, folder);
    std::optional<tvx::sim::MatrixDiff> diff;
    if (against)
      diff = tvx::sim::diffMatrices(std::move(matrix), tvx::sim::runMatrix(*against, base, keep / "old", without));
    tvx::sim::Matrix& newer = diff ? diff->newer : matrix;
    failing = newer.failing();
    if (temporary) {
      const tvx::sim::Matrix* older = diff ? &diff->older : nullptr;
      for (const tvx::sim::Matrix* m : {static_cast<const tvx::sim::Matrix*>(&newer), older}) {
        if (m == nullptr) continue;
        for (const auto& row : m->rows) {
          if (!row.failing()) fs::remove_all(row.machineFolder);
        }
      }
      if (failing > 0) newer.keptIn = keep.string();
    }
    const std::string out = diff ? (asJson ? tvx::sim::matrixDiffJson(*diff) : tvx::sim::matrixDiffText(*diff))
                                 : (asJson ? tvx::sim::matrixJson(newer) : tvx::sim::matrixText(newer));
    std::fputs(out.c_str(), stdout);
    status = newer.signedOff() ? 0 : 1;
    if (!html.empty()) {
      if (diff) {
        tvx::sim::writeMatrixDiffHtml(*diff, html);
      } else {
        tvx::sim::writeMatrixHtml(newer, html);
      }
    }
  } catch (const tvx::sim::MachineError& e) {
    std::fprintf(stderr, "tvxsim: %s\n", e.what());
    status = 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tvxsim: %s\n", e.what());
    status = 2;
  }
  if (temporary && (failing == 0 || status == 2)) fs::remove_all(keep);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 3) return usageError("a command and a machine folder are needed");
  const std::string command = argv[1];
  if (command == "matrix") return runMatrixCommand(argc, argv);
  if (command != "run" && command != "boot") return usageError("unknown command \"" + command + "\"");
  std::filesystem::path machineDir = argv[2];
  std::filesystem::path outDir;
  std::filesystem::path htmlFile;
  bool asJson = false;
  for (int i = 3; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--json") {
      asJson = true;
    } else if (arg == "--out" && i + 1 < argc) {
      outDir = argv[++i];
    } else if (arg == "--html" && i + 1 < argc) {
      htmlFile = argv[++i];
    } else {
      return usageError("unknown option \"" + arg + "\"");
    }
  }

  tvx::sim::Machine machine;
  if (!tvx::sim::loadMachineOrReport(machine, machineDir, "tvxsim")) return 2;
  const std::string name =
      machineDir.filename().empty() ? machineDir.parent_path().filename().string() : machineDir.filename().string();
  tvx::sim::RunReport report =
      command == "run" ? tvx::sim::runWithinBounds(machine, name) : tvx::sim::bootMachine(machine, name);
  std::fputs((asJson ? tvx::sim::reportJson(report) : tvx::sim::reportText(report)).c_str(), stdout);
  if (!htmlFile.empty()) {
    std::FILE* page = std::fopen(htmlFile.c_str(), "wb");
    const std::string html = tvx::sim::htmlRunPage(report);
    if (page == nullptr || std::fwrite(html.data(), 1, html.size(), page) != html.size() || std::fclose(page) != 0) {
      std::fprintf(stderr, "tvxsim: cannot write %s\n", htmlFile.c_str());
      return 2;
    }
  }

  if (command == "boot" && outDir.empty()) outDir = machineDir;
  if (!outDir.empty()) tvx::sim::saveMachine(machine, machineDir, outDir);
  // A script tells a run that lets the person down by its exit code, as it tells a matrix's.
  return report.signOff && report.signOff->verdict == tvx::sim::SignOff::Verdict::Fails ? 1 : 0;
}
