// What a run of Setup.exe is meant to do on a machine, worked out from the machine alone: which
// Windows it is, the CD's setup.ini, the command line and, for the choices made in dialogs, what
// the person saw and did. The outcome check holds the machine after the run to it; it never asks
// the program what it meant.
#pragma once
#include <optional>
#include <set>
#include <string>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

struct OsClass {
  bool win95 = false, win98 = false, win98se = false, winMe = false, nt4 = false, nt5 = false;
  bool windows9x() const { return win95 || win98 || winMe; }
};
OsClass classify(const OsVersion& version);

// The install options of the CD's setup.ini, as the profile functions read them.
struct CdOptions {
  int driverOnly = 0;
  int windowsMEDriverAskUser = 0;
  int windowsMEDriver = 1;
  int windows98SEDriverAskUser = 0;
  int windows98SEDriver = 0;
  int webSetup = 0;
  int installWDMDriver = 0;
  int fullPackage = 0;
  int usingCdda = 0;
};

enum class Flow {
  SuiteFromCommandLine,
  HandOff,
  DriverFromCd,
  MainDialog,
  WdmOptionsDialog,
  VxdOptionsDialog,
  WebPackage
};

enum class Family { Vxd, Wdm };

struct Intent {
  OsClass os;
  CdOptions options;
  std::string sourceDir;  // the folder of the running program, with its backslash
  std::string tail;       // the command line after the program, upper-cased
  Flow flow = Flow::MainDialog;
  bool discImage = false;  // the program's drive is laid from a disc image
  // Files that are there but did not open for the program the last time it tried (upper case):
  // to it, they are not there.
  std::set<std::string> unopened;
};

// Reads a machine as it was before the run.
Intent intentOf(const Machine& machine, const FileTree& before);

const char* flowName(Flow flow);

// The driver family by the CD's rules: the one the driver runs from the CD stage (whatever was
// chosen in a dialog), and the one a flat download stages.
Family cdFamily(const Intent& intent);
Family webFamily(const Intent& intent);
// The family the main dialog offers before any choice (and the one "/AP" installs the suite for).
Family offeredFamily(const Intent& intent);

// Where the driver package of a family lies: the CD's package folder, or the download's own.
std::string packageFolder(const Intent& intent, Family family, const FileTree& files);

// The suite installer meant for this Windows and family (the CD's fallback included).
std::string suiteInstaller(const Intent& intent, Family family, const FileTree& files);

// Text helpers over the machine's files.
const FileNode* fileAt(const FileTree& files, const std::string& path);
bool exists(const FileTree& files, const std::string& path);
std::string folderOf(const std::string& path);  // "D:\PKG\" for "D:\PKG\SETUP.EXE"

}  // namespace tvx::sim
