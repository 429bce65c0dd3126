#include "DriverCheck.h"

#include <algorithm>
#include <cctype>

#include "../../src/platform/sim/Simulator.h"
#include "InfFiles.h"

namespace tvx::sim {

namespace {

std::string windowsInf(const Machine& m) { return m.windowsDir + "\\INF\\"; }

const char* const kVxdInstallDir = "C:\\Program Files\\Tarvic\\W95-98\\";
const char* const kWdmInstallDir = "C:\\Program Files\\Tarvic\\W2K-ME\\";
const char* const kWdmInstallFolder = "C:\\Program Files\\Tarvic\\W2K-ME";
const char* const kMixerKeys[] = {"Software\\Tarvic Sound Suite\\Mixer", "Software\\Tarvic\\Mixer"};

// An INF copy Windows reads, and where Windows takes its relative source paths from.
struct InfCopy {
  std::string path;
  std::string sourceRoot;
};

// The copy that SetupCopyOEMInfA made of the staged INF: the one whose precompiled companion
// names it as its source. Its source paths are relative to the place recorded there.
std::optional<InfCopy> oemCopyOf(const FileTree& files, const Machine& m, const std::string& stagedInf) {
  for (const std::string& folder : {windowsInf(m) + "OTHER\\", windowsInf(m)}) {
    for (const FileNode* f : plainFiles(files, folder)) {
      const std::string& n = f->name;
      if (n.size() < 4 || !iequals(n.substr(n.size() - 4), ".PNF")) continue;
      const std::string tag = "PNF of " + stagedInf + "; source ";
      if (f->data.rfind(tag, 0) != 0) continue;
      const std::string rest = f->data.substr(tag.size());
      const std::string source = rest.substr(0, rest.find(';'));
      return InfCopy{folder + n.substr(0, n.size() - 3) + "INF", source};
    }
  }
  return std::nullopt;
}

struct Checker {
  const DriverClaim& claim;
  const Intent& intent;
  const Machine& after;
  const FileTree& before;
  const FileTree& booted;
  DriverFindings findings;

  void missing(const std::string& what) {
    if (std::find(findings.missing.begin(), findings.missing.end(), what) == findings.missing.end()) {
      findings.missing.push_back(what);
    }
  }

  std::string installDir() const { return claim.family == Family::Vxd ? kVxdInstallDir : kWdmInstallDir; }

  // The package's own file of this name on the medium, or null.
  const FileNode* onMedium(const std::string& name) const { return fileAt(before, claim.packageDir + name); }
  // "the CD (W2K-ME\drv\tvaudio.sys)", "the download (tvaudio.sys)".
  std::string mediumPath(const std::string& name) const {
    const std::string relative = claim.packageDir.substr(std::min(intent.sourceDir.size(), claim.packageDir.size()));
    return (intent.options.webSetup == 0 ? "the CD (" : "the download (") + relative + name + ")";
  }

  // A file the run placed is the medium's file byte for byte; one the package needs is never
  // empty on the medium (that is the CD's fault, not the copy's).
  void checkContent(const std::string& path, const FileNode& placed, const FileNode& medium) {
    if (medium.data.empty()) {
      missing(medium.name + " is empty on " + mediumPath(medium.name));
    } else if (placed.data != medium.data) {
      missing(longPathOf(after.files, path) + " is not copied whole (" + bytesOf(placed, medium) + ")");
    }
  }

  // An INF copy holds every line of the medium's INF but for what the program rewrites.
  void checkInfContent(const std::string& path, const FileNode& placed, const FileNode& medium) {
    const std::size_t line = firstLineNotCopied(linesOf(medium.data), linesOf(placed.data));
    if (line != 0) {
      missing(longPathOf(after.files, path) + " is not copied whole: it lacks line " + std::to_string(line) +
              " of the package's " + medium.name);
    }
  }

  std::vector<std::string> packageInfs() const {
    std::vector<std::string> names;
    for (const FileNode* f : plainFiles(before, claim.packageDir)) {
      if (isInfName(f->name)) names.push_back(f->name);
    }
    return names;
  }

  // Where the run must have put copies of the package's INF files, as the installation places
  // them for this Windows.
  std::vector<InfCopy> expectedCopies(const std::vector<std::string>& infs) const {
    std::vector<InfCopy> copies;
    const std::string inf = windowsInf(after);
    const auto both = [&](const std::string& name) {
      copies.push_back(InfCopy{inf + name, inf});
      copies.push_back(InfCopy{inf + "OTHER\\" + name, inf + "OTHER\\"});
    };
    switch (claim.placement) {
      case Placement::Registered:
      case Placement::ForTheSuite:
        if (claim.family == Family::Vxd || intent.os.win98) {
          for (const auto& name : infs) both(name);
        }
        break;
      case Placement::WdmDialog:
        for (const auto& name : infs) both(name);
        break;
      case Placement::VxdDialog: {
        const std::string folder = folderExists(before, inf + "OTHER") ? inf + "OTHER\\" : inf;
        for (const auto& name : infs) copies.push_back(InfCopy{folder + name, folder});
        break;
      }
    }
    return copies;
  }

  bool registersWdm() const {
    return claim.family == Family::Wdm &&
           (claim.placement == Placement::Registered || claim.placement == Placement::WdmDialog);
  }

  // Every file the INF's [SourceDisksFiles] names, in the folder its disk points to.
  void checkSourceFiles(const InfCopy& copy, const std::string& name, const IniText& ini) {
    for (const auto& [file, entry] : ini.entries("SourceDisksFiles")) {
      const std::vector<std::string> fields = infFields(entry);
      const std::string disk = fields.empty() ? std::string() : fields[0];
      auto value = ini.get("SourceDisksNames", disk);
      if (!value) {
        missing(name + " [SourceDisksFiles] names " + file + " on disk " + disk + ", which [SourceDisksNames] lacks");
        continue;
      }
      std::string folder = sourceFolderOf(*value, copy.sourceRoot);
      if (fields.size() > 1 && !fields[1].empty()) folder += "\\" + fields[1];
      checkNamedFile(name, "[SourceDisksFiles] names", folder + "\\" + file, file);
    }
  }

  // A file an INF names, where Windows will look for it: there, and the medium's file. One the
  // medium lacks is named once, however many copies of the INF name it.
  void checkNamedFile(const std::string& inf, const std::string& how, const std::string& path,
                      const std::string& file) {
    const FileNode* medium = onMedium(file);
    const FileNode* placed = fileAt(after.files, path);
    if (placed == nullptr) {
      missing(medium == nullptr ? inf + " names " + file + ", which is not on " + mediumPath(file)
                                : inf + " " + how + " " + file + "; not in " + longPathOf(after.files, folderOf(path)));
      return;
    }
    if (medium != nullptr) checkContent(path, *placed, *medium);
  }

  // The catalog the INF declares, in the folder Windows takes it from.
  void checkCatalog(const std::string& name, const IniText& ini, const std::string& folder) {
    auto catalog = ini.get("Version", "CatalogFile");
    if (!catalog || catalog->empty()) return;
    checkNamedFile(name, "declares the catalog", folder + *catalog, *catalog);
  }

  // An option line of the package and its place in a copy: the copy may have gained lines (the
  // source-disk entries), so the line is found as the same occurrence among the lines that begin
  // like it. Gives the copy's line, or null when it has no such line.
  static const std::string* optionLineOf(const std::vector<std::string>& package, const std::vector<std::string>& copy,
                                         std::size_t index, std::size_t prefix) {
    const auto same = [&](const std::string& a, const std::string& b) {
      return a.size() >= prefix && b.size() >= prefix && a.compare(0, prefix, b, 0, prefix) == 0;
    };
    std::size_t occurrence = 0;
    for (std::size_t i = 0; i < index; ++i) occurrence += same(package[i], package[index]) ? 1 : 0;
    for (const std::string& line : copy) {
      if (!same(line, package[index])) continue;
      if (occurrence == 0) return &line;
      --occurrence;
    }
    return nullptr;
  }

  void checkOptionLines(const std::string& path, const FileNode& package, bool wdm) {
    const FileNode* copy = fileAt(after.files, path);
    if (copy == nullptr) return;
    const DialogSeen& d = *claim.options;
    const bool motherBoard = d.checked(1006);
    const int jacks =
        d.checked(1007) ? 0 : (d.checked(1011) ? 1 : 0) + (d.checked(1012) ? 2 : 0) + (d.checked(1013) ? 4 : 0);
    struct Option {
      const char* shipped;  // the line, or its start, as the package ships it
      std::size_t column;   // where the value stands
      char value;           // what the options make of it; 0: as shipped
    };
    const std::vector<Option> options =
        wdm ? std::vector<Option>{{"HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0", 48,
                                   d.checked(1000) ? '2' : '\0'},
                                  {"HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0", 48,
                                   static_cast<char>('0' + jacks)}}
            : std::vector<Option>{{"HKR,Config,DISMPU,1,0", 20, d.checked(1000) ? '1' : '0'},
                                  {"HKR,Config,DISJSTK,1,0", 21, d.checked(1001) ? '1' : '0'},
                                  {"HKR,Config,LINEINasREAR,1,1", 26, d.checked(1007) || !d.checked(1011) ? '0' : '1'},
                                  {"HKR,Config,LINEINasBASS,1,0", 26, motherBoard && d.checked(1012) ? '1' : '0'},
                                  {"HKR,Config,MICasBASS,1,0", 23, motherBoard && d.checked(1013) ? '1' : '0'}};
    const std::vector<std::string> was = linesOf(package.data);
    const std::vector<std::string> now = linesOf(copy->data);
    for (const Option& o : options) {
      // The first line that is the option line (a WDM line may carry more text after it).
      const std::string shipped = o.shipped;
      auto at = std::find_if(was.begin(), was.end(),
                             [&](const std::string& s) { return wdm ? s.rfind(shipped, 0) == 0 : s == shipped; });
      if (at == was.end()) continue;
      std::string wanted = *at;
      if (o.value != '\0') wanted[o.column] = o.value;
      const std::string* line = optionLineOf(was, now, static_cast<std::size_t>(at - was.begin()), o.column);
      if (line == nullptr || *line != wanted) {
        missing(path + " lacks the option line \"" + wanted + "\"");
      }
    }
  }

  std::string catalogFolder() const { return windowsInf(after) + "CATALOG\\"; }

  // One INF as Windows (or the suite's installer) reads it: every file it names where it says,
  // the catalog it declares in `catalogIn`, its lines as the package ships them.
  void checkInf(const InfCopy& copy, const FileNode& package, const std::string& catalogIn) {
    const FileNode* node = fileAt(after.files, copy.path);
    if (node == nullptr) {
      missing("no copy of " + package.name + " in " + longPathOf(after.files, folderOf(copy.path)));
      return;
    }
    checkInfContent(copy.path, *node, package);
    const IniText ini(node->data);
    checkSourceFiles(copy, package.name, ini);
    checkCatalog(package.name, ini, catalogIn);
  }

  void checkCopy(const InfCopy& copy, const FileNode& package) {
    if (fileAt(after.files, copy.path) != nullptr) ++findings.infCopies;
    checkInf(copy, package, catalogFolder());
    if (claim.options) checkOptionLines(copy.path, package, claim.placement == Placement::WdmDialog);
  }

  void checkOemCopy() {
    const std::string staged = std::string(kWdmInstallDir) + "TVAUDIO.INF";
    auto copy = oemCopyOf(after.files, after, staged);
    if (!copy) {
      missing("Windows holds no copy of " + staged + " (SetupCopyOEMInfA)");
      return;
    }
    const FileNode* package = onMedium("TVAUDIO.INF");
    if (package == nullptr) return;
    ++findings.infCopies;
    checkInf(*copy, *package, catalogFolder());
    if (claim.options) checkOptionLines(copy->path, *package, true);
  }

  // The WDM package left for the suite's installer to finish: it installs the staged INF files
  // from the install folder, as Windows Me installs the OEM copy, so the staged folder must hold
  // what they name and the catalog they declare.
  void checkStagedInfs(const std::vector<std::string>& infs) {
    for (const auto& name : infs) {
      if (const FileNode* package = onMedium(name))
        checkInf(InfCopy{installDir() + name, installDir()}, *package, installDir());
    }
  }

  // Every package file in the install folder is the medium's (the WDM options patch the INF
  // files' option lines in place there).
  void checkStaged() {
    for (const FileNode* f : plainFiles(before, claim.packageDir)) {
      const std::string path = installDir() + f->name;
      const FileNode* staged = fileAt(after.files, path);
      if (staged == nullptr) continue;
      const bool patched = claim.placement == Placement::WdmDialog && isInfName(f->name);
      if (patched) {
        checkInfContent(path, *staged, *f);
      } else {
        checkContent(path, *staged, *f);
      }
      if (staged->data == f->data || patched) ++findings.packageFiles;
    }
  }

  // The package files the run mirrored into Windows' own setup files (or, once that failed, into
  // INF\OTHER): each the medium's, as Windows may take them from there.
  void checkMirrored() {
    const RegKey* key =
        after.registry.find(after.registry.localMachine(), "Software\\Microsoft\\Windows\\CurrentVersion\\Setup");
    const RegValue* value = key != nullptr ? key->value("SourcePath") : nullptr;
    std::vector<std::string> folders{windowsInf(after) + "OTHER\\"};
    if (value != nullptr && !value->text().empty()) {
      folders.push_back(value->text() + (value->text().back() == '\\' ? "" : "\\"));
    }
    for (const FileNode* f : plainFiles(before, claim.packageDir)) {
      if (isInfName(f->name)) continue;  // the INF copies are checked as INF files
      for (const std::string& folder : folders) {
        const FileNode* now = fileAt(after.files, folder + f->name);
        const FileNode* was = fileAt(before, folder + f->name);
        if (now != nullptr && (was == nullptr || was->data != now->data)) checkContent(folder + f->name, *now, *f);
      }
    }
  }

  // A Windows whose setup API keeps no source list it can reach (the function missing or not
  // implemented there) has no list to hold the folder.
  void checkSources() {
    if (after.fails("SetupQuerySourceListA") || after.lacks("setupapi.dll")) return;
    const std::vector<std::string> sources = installationSources(after.registry);
    const bool listed =
        std::any_of(sources.begin(), sources.end(), [](const std::string& s) { return iequals(s, kWdmInstallFolder); });
    if (!listed) missing(std::string("the installation sources lack ") + kWdmInstallFolder);
  }

  // The mixer program: replaced at the Windows start by the rename queue (from the package's
  // Mixer.dat), or at once in the suite's folder and the Windows folder (the VxD options).
  void checkMixer() {
    const std::string windowsMixer = after.windowsDir + "\\Mixer.exe";
    if (claim.placement == Placement::VxdDialog) {
      const FileNode* mixer = fileAt(before, claim.packageDir + "Mixer.exe");
      if (mixer == nullptr) return;
      std::vector<std::string> targets;
      for (const char* keyPath : kMixerKeys) {
        const RegKey* key = after.registry.find(after.registry.localMachine(), keyPath);
        const RegValue* value = key != nullptr ? key->value("Path") : nullptr;
        if (value == nullptr) continue;
        std::string folder = value->text();
        if (folder.empty() || folder.back() != '\\') folder += '\\';
        if (!exists(before, folder + "Mixer.exe")) continue;
        targets.push_back(folder + "Mixer.exe");
        break;
      }
      if (targets.empty()) return;  // no mixer of the suite's: nothing to replace
      if (exists(before, windowsMixer)) targets.push_back(windowsMixer);
      for (const auto& target : targets) {
        const FileNode* now = fileAt(after.files, target);
        if (now == nullptr || now->data != mixer->data) missing(target + " is not the package's mixer");
      }
      findings.mixer = "mixer replaced";
      return;
    }
    if (claim.placement == Placement::WdmDialog) return;
    const FileNode* mixer = onMedium("Mixer.dat");
    if (mixer != nullptr && mixer->data.empty()) missing(mixer->name + " is empty on " + mediumPath(mixer->name));
    if (mixer == nullptr || !claim.restarted) return;
    const FileNode* now = fileAt(booted, windowsMixer);
    if (now == nullptr || now->data != mixer->data) {
      missing("after the restart " + windowsMixer + " is not the package's mixer");
    }
    findings.mixer = "mixer replaced at boot";
  }

  void run() {
    const std::vector<std::string> infs = packageInfs();
    if (infs.empty()) missing("the package in " + claim.packageDir + " holds no INF file");
    for (const InfCopy& copy : expectedCopies(infs)) {
      const FileNode* package = fileAt(before, claim.packageDir + copy.path.substr(copy.path.rfind('\\') + 1));
      if (package != nullptr) checkCopy(copy, *package);
    }
    // Windows Me (and first-edition 98) install the WDM driver from the copy the setup API keeps.
    if (registersWdm() && !intent.os.win98se) checkOemCopy();
    if (claim.placement == Placement::WdmDialog) {
      for (const auto& name : infs) {
        const FileNode* package = fileAt(before, claim.packageDir + name);
        if (package != nullptr && claim.options) checkOptionLines(installDir() + name, *package, true);
      }
    }
    if (claim.placement == Placement::ForTheSuite && claim.family == Family::Wdm) checkStagedInfs(infs);
    checkStaged();
    checkMirrored();
    if (registersWdm()) checkSources();
    checkMixer();
    // After the restart Windows looks for the card's driver in its INF folders: it must find one.
    if (claim.restarted && findings.infCopies == 0 && !infs.empty()) {
      missing("after the restart Windows finds no INF of the driver where it looks for one");
    }
  }
};

}  // namespace

std::string DriverFindings::summary() const {
  std::string out = std::to_string(infCopies) + (infCopies == 1 ? " INF copy, " : " INF copies, ") +
                    std::to_string(packageFiles) + (packageFiles == 1 ? " package file" : " package files");
  if (!mixer.empty()) out += ", " + mixer;
  return out;
}

DriverFindings checkDriver(const DriverClaim& claim, const Intent& intent, const Machine& after, const FileTree& before,
                           const FileTree& booted) {
  Checker checker{claim, intent, after, before, booted, {}};
  checker.run();
  return checker.findings;
}

}  // namespace tvx::sim
