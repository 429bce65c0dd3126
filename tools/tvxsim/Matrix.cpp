#include "Matrix.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "../../src/platform/sim/Simulator.h"
#include "BaseMachines.h"
#include "RunView.h"
#include "SimRun.h"
#include "Timeline.h"

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int option(const IniText& ini, const char* key, int fallback) {
  auto value = ini.get("InstallOption", key);
  const std::string text = value ? profileValue(*value) : std::string();
  return text.empty() ? fallback : static_cast<int>(profileNumber(text));
}

// A click on a control of one dialog.
std::string click(int control, int dialog) {
  return "click=" + std::to_string(control) + "; dialog=" + std::to_string(dialog);
}

// The main dialog's three choices and Cancel, after what came before it.
void mainDialogPaths(std::vector<MatrixPath>& paths, const std::string& before, const std::vector<std::string>& first) {
  const struct {
    const char* label;
    std::vector<int> clicks;
  } choices[] = {
      {"applications and driver", {1}}, {"applications only", {1002, 1}}, {"driver only", {1001, 1}}, {"Cancel", {2}}};
  for (const auto& c : choices) {
    MatrixPath p{before + "main dialog: " + c.label, "", first};
    for (int id : c.clicks) p.script.push_back(click(id, 102));
    paths.push_back(p);
  }
}

// The first words of a text, on one line.
std::string firstWords(const std::string& text, std::size_t words) {
  std::string out;
  std::size_t count = 0;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t';
    if (blank) {
      if (!out.empty() && out.back() != ' ') {
        if (++count == words) return out + "...";
        out += ' ';
      }
      continue;
    }
    out += c;
  }
  return out;
}

// What the person saw, in order: each dialog by its template and caption, each message by its
// caption and first words (and the answer, when it was not OK).
std::vector<std::string> seenIn(const std::vector<Happening>& happenings) {
  std::vector<std::string> seen;
  for (const Happening& h : happenings) {
    if (h.kind == "dialog")
      seen.push_back("dialog " + h.field("dialog") + " \"" + firstWords(h.field("caption"), 4) + "\"");
    if (h.kind == "message") {
      std::string m = "\"" + h.field("caption") + "\": " + firstWords(h.field("text"), 4);
      if (h.field("answer") != "OK") m += " -> " + h.field("answer");
      seen.push_back(m);
    }
  }
  return seen;
}

std::string setupProgramOn(const fs::path& cd) {
  for (const auto& e : fs::directory_iterator(cd)) {
    if (e.is_regular_file() && iequals(e.path().filename().string(), "SETUP.EXE")) return e.path().filename().string();
  }
  throw MachineError(cd.string() + ": no SETUP.EXE in the folder, so it is no CD of this setup program");
}

// A machine folder laid from the user's: its script and its drive D give way to the matrix's.
void copyBase(const fs::path& base, const fs::path& folder) {
  fs::create_directories(folder);
  for (const auto& e : fs::recursive_directory_iterator(base)) {
    const fs::path relative = fs::relative(e.path(), base);
    const std::string first = relative.begin()->string();
    if (first == "machine.ini") continue;
    if (first == "drives" && std::distance(relative.begin(), relative.end()) >= 2 &&
        iequals(std::next(relative.begin())->string(), "D")) {
      continue;
    }
    if (e.is_directory()) {
      fs::create_directories(folder / relative);
    } else {
      fs::create_directories((folder / relative).parent_path());
      fs::copy_file(e.path(), folder / relative, fs::copy_options::overwrite_existing);
    }
  }
  std::string kept;
  std::string section;
  for (const std::string& raw : split(readFile(base / "machine.ini"), '\n')) {
    const std::string t = trim(raw);
    if (!t.empty() && t[0] == '[') section = toLower(trim(t.substr(1, t.find(']') - 1)));
    if (section == "script") continue;
    if (section == "drives" && t.size() > 1 && t[1] == '=') {
      if (t[0] == 'D' || t[0] == 'd') continue;
      // Another drive laid from a folder: named from where the copy stands now.
      kept += t.substr(0, 2) + fs::absolute(base / trim(t.substr(2))).lexically_normal().string() + "\n";
      continue;
    }
    kept += raw + "\n";
  }
  std::ofstream(folder / "machine.ini", std::ios::binary) << kept;
}

MatrixRow runRow(const std::string& version, const MatrixPath& path, const fs::path& folder) {
  MatrixRow row;
  row.version = version;
  row.path = path;
  row.machineFolder = folder.string();
  Machine machine;
  loadMachine(machine, folder);
  // Bounds a run cannot pass without hanging: the longest waits of a driver run take minutes.
  machine.faults.maxTime = 3 * 3600 * 1000;
  machine.faults.maxCalls = 2000000;
  try {
    row.report = runSetup(machine, folder.filename().string());
    row.seen = seenIn(row.report.happenings);
  } catch (const RunBoundExceeded& e) {
    row.problem = "hung: " + e.what;
    row.seen = seenIn(machine.log);
    row.report.happenings = machine.log;  // what it did until then, for its page
  } catch (const std::exception& e) {
    row.problem = std::string("crashed: ") + e.what();
    row.seen = seenIn(machine.log);
    row.report.happenings = machine.log;
  }
  return row;
}

std::string padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

bool MatrixRow::failing() const {
  return !problem.empty() || (report.outcome && report.outcome->verdict == Outcome::Verdict::Incomplete);
}

std::string MatrixRow::verdict() const {
  if (!problem.empty()) return problem;
  return report.outcome ? report.outcome->text() : std::string("(no outcome)");
}

std::size_t Matrix::failing() const {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [](const MatrixRow& r) { return r.failing(); }));
}

std::vector<MatrixPath> matrixPaths(const std::string& version, const std::string& setupIni) {
  const IniText ini(setupIni);
  const int webSetup = option(ini, "WebSetup", 0);
  const bool nt5 = version == "win2k" || version == "winxp";
  std::vector<MatrixPath> paths;
  if (webSetup == 0) {
    // The hand-off takes every start on 2000 and XP; elsewhere the start shows the main dialog,
    // unless setup.ini asks for the driver at once.
    const bool askArch = (version == "win98se" && option(ini, "Windows98SEDriverAskUser", 0) != 0) ||
                         (version == "winme" && option(ini, "WindowsMEDriverAskUser", 0) != 0);
    if (nt5 || option(ini, "DriverOnly", 0) != 0) {
      paths.push_back(MatrixPath{"as started", "", {}});
    } else if (askArch) {
      mainDialogPaths(paths, "architecture VxD, ", {click(1004, 130), click(1, 130)});
      mainDialogPaths(paths, "architecture WDM, ", {click(1005, 130), click(1, 130)});
      paths.push_back(MatrixPath{"architecture dialog: Cancel", "", {click(2, 130)}});
    } else {
      mainDialogPaths(paths, "", {});
    }
    paths.push_back(MatrixPath{"/DRIVER", "/DRIVER", {}});
    paths.push_back(MatrixPath{"/AP", "/AP", {}});
    return paths;
  }
  if (webSetup == 1 && !nt5) {
    // The download's options dialog: its defaults, changed choices, Cancel.
    if (option(ini, "InstallWDMDriver", 0) != 0) {
      paths.push_back(MatrixPath{"WDM options: defaults", "", {click(1, 131)}});
      paths.push_back(MatrixPath{"WDM options: legacy devices off, the sound card's rear jack",
                                 "",
                                 {click(1000, 131), click(1007, 131), click(1, 131)}});
      paths.push_back(MatrixPath{"WDM options: Cancel", "", {click(2, 131)}});
    } else {
      paths.push_back(MatrixPath{"VxD options: defaults", "", {click(1, 103)}});
      paths.push_back(MatrixPath{"VxD options: MIDI and game port off, line-in on the subwoofer's jack",
                                 "",
                                 {click(1000, 103), click(1001, 103), click(1012, 103), click(1, 103)}});
      paths.push_back(MatrixPath{"VxD options: Cancel", "", {click(2, 103)}});
    }
    return paths;
  }
  paths.push_back(MatrixPath{"as started", "", {}});
  return paths;
}

Matrix runMatrix(const fs::path& cd, const std::optional<fs::path>& base, const fs::path& work) {
  if (!fs::is_directory(cd)) throw MachineError(cd.string() + ": not a folder");
  const fs::path cdFolder = fs::absolute(cd).lexically_normal();
  const std::string program = setupProgramOn(cdFolder);
  std::string setupIni;
  for (const auto& e : fs::directory_iterator(cdFolder)) {
    if (e.is_regular_file() && iequals(e.path().filename().string(), "setup.ini")) setupIni = readFile(e.path());
  }
  const int webSetup = option(IniText(setupIni), "WebSetup", 0);

  Matrix matrix;
  matrix.cd = cd.string();
  matrix.kind = webSetup == 0 ? "CD" : "download (WebSetup=" + std::to_string(webSetup) + ")";
  for (const std::string& version : matrixVersions()) {
    int n = 0;
    for (const MatrixPath& path : matrixPaths(version, setupIni)) {
      const fs::path folder = work / (version + "-" + std::to_string(++n));
      fs::remove_all(folder);
      if (base) {
        copyBase(*base, folder);
      } else {
        writeBaseMachine(version, folder);
      }
      std::ofstream ini(folder / "machine.ini", std::ios::binary | std::ios::app);
      ini << "\r\n; The matrix's row: " << versionTitle(version) << ", " << path.label << "\r\n";
      ini << "[Machine]\r\nos=" << version << "\r\nprogram=D:\\" << program << "\r\n";
      if (!path.args.empty()) ini << "args=" << path.args << "\r\n";
      ini << "\r\n[Drives]\r\nD=" << cdFolder.string() << "\r\n";
      if (!path.script.empty()) {
        ini << "\r\n[Script]\r\n";
        for (const auto& line : path.script) ini << line << "\r\n";
      }
      ini.close();
      matrix.rows.push_back(runRow(version, path, folder));
    }
  }
  return matrix;
}

std::string matrixText(const Matrix& m) {
  std::string out = "Matrix of " + m.cd + " (" + m.kind + ")\n\n";
  std::size_t pathWidth = 4;
  for (const auto& r : m.rows) pathWidth = std::max(pathWidth, r.path.label.size());
  out += padded("Windows", 15) + padded("Path", pathWidth + 2) + padded("Restart", 9) + padded("Time", 10) +
         "Outcome; seen\n";
  for (const auto& r : m.rows) {
    const bool restart = r.problem.empty() && r.report.restart;
    std::string verdict = r.verdict();
    if (r.report.outcome && r.report.outcome->verdict == Outcome::Verdict::Incomplete) verdict = "INCOMPLETE (below)";
    out += padded(versionTitle(r.version), 15) + padded(r.path.label, pathWidth + 2) +
           padded(restart ? "yes" : "no", 9) + padded(r.problem.empty() ? seconds(r.report.virtualTime) : "-", 10) +
           verdict + "\n";
    std::string seen;
    for (const auto& s : r.seen) seen += (seen.empty() ? "" : "; ") + s;
    out += std::string(15 + pathWidth + 2 + 19, ' ') + "seen: " + (seen.empty() ? "nothing" : seen) + "\n";
  }
  out += "\n" + matrixCounts(m) + "\n";
  for (const auto& r : m.rows) {
    if (!r.failing()) continue;
    out +=
        "\n" + versionTitle(r.version) + ", " + r.path.label + " (" + r.machineFolder + "):\n  " + r.verdict() + "\n";
  }
  return out;
}

std::string matrixCounts(const Matrix& m) {
  std::size_t complete = 0, nothing = 0, failed = 0, incomplete = 0, problems = 0;
  for (const auto& r : m.rows) {
    if (!r.problem.empty()) {
      ++problems;
    } else if (r.report.outcome) {
      switch (r.report.outcome->verdict) {
        case Outcome::Verdict::Complete:
          ++complete;
          break;
        case Outcome::Verdict::NothingInstalled:
          ++nothing;
          break;
        case Outcome::Verdict::Failed:
          ++failed;
          break;
        case Outcome::Verdict::Incomplete:
          ++incomplete;
          break;
      }
    }
  }
  return std::to_string(m.rows.size()) + " runs: " + std::to_string(complete) + " complete, " +
         std::to_string(nothing) + " nothing installed, " + std::to_string(failed) + " failed (the person told), " +
         std::to_string(incomplete) + " INCOMPLETE, " + std::to_string(problems) + " crashed or hung";
}

std::string matrixJson(const Matrix& m) {
  std::string out = "{\n  \"cd\": " + jsonString(m.cd) + ",\n  \"kind\": " + jsonString(m.kind) + ",\n  \"rows\": [";
  for (std::size_t i = 0; i < m.rows.size(); ++i) {
    const MatrixRow& r = m.rows[i];
    out += (i ? "," : "") + std::string("\n    {\"windows\": ") + jsonString(versionTitle(r.version)) +
           ", \"os\": " + jsonString(r.version) + ", \"path\": " + jsonString(r.path.label) +
           ", \"commandLine\": " + jsonString(r.report.commandLine) + ", \"machine\": " + jsonString(r.machineFolder) +
           ", \"seen\": [";
    for (std::size_t s = 0; s < r.seen.size(); ++s) out += (s ? ", " : "") + jsonString(r.seen[s]);
    out += "], \"verdict\": " +
           jsonString(!r.problem.empty() ? r.problem.substr(0, r.problem.find(':'))
                                         : (r.report.outcome ? r.report.outcome->word() : "")) +
           ", \"outcome\": " + jsonString(r.verdict()) +
           ", \"restart\": " + (r.problem.empty() && r.report.restart ? "true" : "false") +
           ", \"virtualTimeMs\": " + std::to_string(r.problem.empty() ? r.report.virtualTime : 0) + "}";
  }
  out += "\n  ],\n  \"failing\": " + std::to_string(m.failing()) + "\n}\n";
  return out;
}

}  // namespace tvx::sim
