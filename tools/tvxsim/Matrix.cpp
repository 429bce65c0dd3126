#include "Matrix.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "../../src/platform/sim/Simulator.h"
#include "BaseMachines.h"
#include "Mastering.h"
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
// caption and first words (and the answer, when it was not OK). The same thing seen again at once
// is one entry with its count; a row that saw more than fits a table ends in how many more.
std::vector<std::string> seenIn(const std::vector<Happening>& happenings) {
  constexpr std::size_t kMostSeen = 30;
  std::vector<std::string> seen;
  std::size_t times = 1;
  std::size_t more = 0;
  const auto add = [&](const std::string& entry) {
    if (!seen.empty() && more == 0 && seen.back() == entry) {
      ++times;
      return;
    }
    if (times > 1) seen.back() += " (" + std::to_string(times) + " times)";
    times = 1;
    if (seen.size() < kMostSeen) {
      seen.push_back(entry);
    } else {
      ++more;
    }
  };
  for (const Happening& h : happenings) {
    if (h.kind == "dialog") add("dialog " + h.field("dialog") + " \"" + firstWords(h.field("caption"), 4) + "\"");
    if (h.kind == "message") {
      std::string m = "\"" + h.field("caption") + "\": " + firstWords(h.field("text"), 4);
      if (h.field("answer") != "OK") m += " -> " + h.field("answer");
      add(m);
    }
  }
  if (times > 1) seen.back() += " (" + std::to_string(times) + " times)";
  if (more > 0) seen.push_back("... " + std::to_string(more) + " more");
  return seen;
}

// The files at the root of a CD folder or disc image, as Windows reads them: name and content.
std::vector<std::pair<std::string, std::string>> rootFiles(const fs::path& cd, bool image) {
  std::vector<std::pair<std::string, std::string>> out;
  if (image) {
    for (DiscEntry& e : discEntries(readFile(cd), DiscNames::Windows)) {
      if (!e.isDirectory && e.path.find('\\') == std::string::npos) out.emplace_back(e.path, std::move(e.data));
    }
    return out;
  }
  for (const auto& e : fs::directory_iterator(cd)) {
    if (e.is_regular_file()) out.emplace_back(e.path().filename().string(), readFile(e.path()));
  }
  return out;
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

MatrixRow runRow(const std::string& version, const MatrixPath& path, const fs::path& folder, bool served) {
  MatrixRow row;
  row.version = version;
  row.path = path;
  row.machineFolder = folder.string();
  Machine machine;
  loadMachine(machine, folder);
  row.report = runWithinBounds(machine, folder.filename().string());
  row.seen = seenIn(row.report.happenings);
  row.signOff = signOffOf(row.report.outcome, row.report.problem, served);
  return row;
}

// Writes a row's machine folder: the built-in machine of its Windows (or the user's), the CD as
// drive D, started along the path.
void writeRowMachine(const fs::path& folder, const std::string& version, const MatrixPath& path,
                     const std::optional<fs::path>& base, const fs::path& cdFolder, const std::string& program) {
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
  // A person presses OK once, with the CD in, and Cancel when the same prompt comes back.
  ini << "\r\n[Script]\r\nagain=Cancel\r\n";
  for (const auto& line : path.script) ini << line << "\r\n";
}

// The message boxes a row answered before one came back the same: how many boxes came before
// that prompt, or nothing when no box came back.
std::optional<std::size_t> boxesBeforeRepeatedPrompt(const std::vector<Happening>& happenings) {
  std::vector<const Happening*> boxes;
  for (const Happening& h : happenings) {
    if (h.kind == "message") boxes.push_back(&h);
  }
  for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
    const Happening& a = *boxes[i];
    const Happening& b = *boxes[i + 1];
    if (a.field("answer") == "OK" && a.field("text") == b.field("text") && a.field("caption") == b.field("caption") &&
        a.field("buttons") == b.field("buttons") && a.field("buttons").find("Cancel") != std::string::npos) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace

bool MatrixRow::failing() const { return signOff.verdict == SignOff::Verdict::Fails; }

std::string MatrixRow::verdict() const {
  if (!report.problem.empty()) return report.problem;
  return report.outcome ? report.outcome->text() : std::string("(no outcome)");
}

std::size_t Matrix::failing() const {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [](const MatrixRow& r) { return r.failing(); }));
}

bool Matrix::signedOff() const { return failing() == 0 && (!mastering || mastering->differences.empty()); }

std::string unknownVersion(const std::vector<std::string>& names) {
  for (const auto& name : names) {
    const auto& versions = matrixVersions();
    if (std::find(versions.begin(), versions.end(), name) == versions.end()) return name;
  }
  return {};
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

Matrix runMatrix(const fs::path& cd, const std::optional<fs::path>& base, const fs::path& work,
                 const std::vector<std::string>& without, const std::optional<fs::path>& madeFrom) {
  const bool image = fs::is_regular_file(cd);
  if (!image && !fs::is_directory(cd)) throw MachineError(cd.string() + ": neither a CD folder nor a disc image");
  if (madeFrom && !image)
    throw MachineError("--folder compares a disc image with its folder: " + cd.string() + " is a folder");
  if (madeFrom && !fs::is_directory(*madeFrom)) throw MachineError(madeFrom->string() + ": not a folder");
  const fs::path cdFolder = fs::absolute(cd).lexically_normal();
  std::string program;
  std::string setupIni;
  try {
    for (const auto& [name, data] : rootFiles(cdFolder, image)) {
      if (iequals(name, "SETUP.EXE")) program = name;
      if (iequals(name, "setup.ini")) setupIni = data;
    }
  } catch (const MachineError& e) {
    throw MachineError(cd.string() + ": " + e.what());
  }
  if (program.empty()) {
    throw MachineError(cd.string() + ": no SETUP.EXE at the root of the " + (image ? "disc" : "folder") +
                       ", so it is no CD of this setup program");
  }
  const int webSetup = option(IniText(setupIni), "WebSetup", 0);

  Matrix matrix;
  matrix.cd = cd.string();
  matrix.kind = webSetup == 0 ? "CD" : "download (WebSetup=" + std::to_string(webSetup) + ")";
  if (image) {
    matrix.mastering = checkMastering(cdFolder, madeFrom);
    matrix.kind += ", a disc image: volume \"" + matrix.mastering->disc.label + "\", " +
                   (matrix.mastering->disc.joliet ? "Joliet names" : "no Joliet names");
  }
  matrix.without = without;
  for (const std::string& version : matrixVersions()) {
    const bool served = std::find(without.begin(), without.end(), version) == without.end();
    int n = 0;
    for (const MatrixPath& path : matrixPaths(version, setupIni)) {
      const fs::path folder = work / (version + "-" + std::to_string(++n));
      writeRowMachine(folder, version, path, base, cdFolder, program);
      matrix.rows.push_back(runRow(version, path, folder, served));
      // A prompt that came back: where Cancel at once ends otherwise than OK and then Cancel,
      // that is a way of its own.
      const auto before = boxesBeforeRepeatedPrompt(matrix.rows.back().report.happenings);
      if (!before) continue;
      MatrixPath atOnce{path.label + ", the prompt cancelled at once", path.args, path.script};
      for (std::size_t i = 0; i < *before; ++i) atOnce.script.push_back("message=OK");
      atOnce.script.push_back("message=Cancel");
      const fs::path other = work / (version + "-" + std::to_string(++n));
      writeRowMachine(other, version, atOnce, base, cdFolder, program);
      MatrixRow row = runRow(version, atOnce, other, served);
      const MatrixRow& first = matrix.rows.back();
      if (row.verdict() == first.verdict() && row.signOff.text() == first.signOff.text() &&
          row.report.restart == first.report.restart) {
        fs::remove_all(other);
        --n;
        continue;
      }
      matrix.rows.push_back(std::move(row));
    }
  }
  // A failing row of a disc that lost files in the mastering says so: the engineer fixes the
  // mastering, not the CD's contents.
  if (matrix.mastering) {
    for (MatrixRow& row : matrix.rows) {
      const std::string fault = matrix.mastering->behind(row.signOff.reason);
      if (row.failing() && !fault.empty()) row.signOff.reason += "; " + fault;
    }
  }
  return matrix;
}

}  // namespace tvx::sim
