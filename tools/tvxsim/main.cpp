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
    "  run     runs Setup.exe's logic on a machine folder: what it did, its outcome, its sign-off\n"
    "  boot    starts Windows on a machine folder (WININIT.INI's rename queue)\n"
    "  matrix  signs off a CD or its disc image: every Windows version and path, one row each\n"
    "\n"
    "tvxsim COMMAND --help says more of each. The manual is docs/ (README.md lists its pages).\n";

const char* kRunUsage =
    "usage: tvxsim run MACHINE [--out DIR] [--json] [--html FILE]\n"
    "       tvxsim boot MACHINE [--out DIR] [--json] [--html FILE]\n"
    "\n"
    "  run  runs Setup.exe's logic on the machine folder and reports what it did in time order,\n"
    "       every file, INI and registry change, the outcome and the sign-off\n"
    "  boot starts Windows on it: Windows 95, 98 and Me carry out [rename] of WININIT.INI (the\n"
    "       folder is updated in place unless --out is given)\n"
    "\n"
    "  --out DIR    write the changed machine to DIR, so that runs chain\n"
    "  --json       the report as JSON\n"
    "  --html FILE  also the report as one page, each dialog drawn as the person saw it\n"
    "\n"
    "Exit code: 1 when the run fails its sign-off, 2 when the machine folder cannot be read, else 0.\n"
    "The machine folder: docs/machine.md. The report: docs/report.md.\n";

const char* kMatrixUsage =
    "usage: tvxsim matrix CD|IMAGE.iso [--folder DIR] [--against OLD] [--machine DIR] [--machines DIR]\n"
    "                     [--without WINDOWS,...] [--json] [--html DIR]\n"
    "\n"
    "Runs the CD folder, driver download or ISO 9660 image on Windows 95, 98, 98 SE, Me, NT 4.0,\n"
    "2000 and XP along every path a person can take there, one row per run with its outcome and\n"
    "sign-off, and ends with the closing line: \"signed off: ...\" or \"NOT signed off: ...\".\n"
    "\n"
    "  --folder DIR    (an image) the folder it was made from: what differs as Windows reads the disc\n"
    "  --against OLD   the last release (a folder or an image): what each row does differently\n"
    "  --machine DIR   a machine folder of yours instead of the built-in ones\n"
    "  --machines DIR  keep every row's machine folder in DIR (else only the failing rows')\n"
    "  --without LIST  Windows the CD does not serve: win95,win98,win98se,winme,nt40,win2k,winxp\n"
    "  --json          the rows as JSON\n"
    "  --html DIR      also DIR/index.html, linked to a page per run\n"
    "\n"
    "Exit code: 0 signed off, 1 not, 2 bad input. The sign-off: docs/signoff.md.\n";

int usageError(const std::string& message, const char* usage = kUsage) {
  std::fprintf(stderr, "tvxsim: %s\n\n%s", message.c_str(), usage);
  return 2;
}

bool asksForHelp(const char* arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

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
      if (!unknown.empty()) return usageError("unknown Windows \"" + unknown + "\" after --without", kMatrixUsage);
    } else {
      return usageError("unknown option \"" + arg + "\"", kMatrixUsage);
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
  if (argc >= 2 && asksForHelp(argv[1])) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::string command = argc >= 2 ? argv[1] : "";
  const char* usage = command == "matrix" ? kMatrixUsage : command == "run" || command == "boot" ? kRunUsage : kUsage;
  for (int i = 2; i < argc; ++i) {
    if (asksForHelp(argv[i])) {
      std::fputs(usage, stdout);
      return 0;
    }
  }
  if (argc < 3) return usageError("a command and a machine folder are needed", usage);
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
      return usageError("unknown option \"" + arg + "\"", kRunUsage);
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
