// Whether a machine holds an installed driver package the way Windows finds it: the INF copies
// in the folders Windows searches, every file their [SourceDisksFiles] name in the folder their
// [SourceDisksNames] entry points to, the catalog, the option lines chosen, the installation
// sources and, after the restart, the package's mixer program.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "InfFiles.h"
#include "Intent.h"
#include "RunView.h"

namespace tvx::sim {

// How a run places the package's INF files.
enum class Placement {
  Registered,   // from the CD or a download: INF copies, and on Me the OEM copy and the source list
  ForTheSuite,  // from the main dialog with the applications: staged, the suite's installer finishes
  WdmDialog,    // the WDM options dialog: patched copies, and on Me the OEM copy
  VxdDialog,    // the VxD options dialog: copies in INF\OTHER (or INF) with the options written
};

struct DriverClaim {
  Family family = Family::Vxd;
  Placement placement = Placement::Registered;
  std::string packageDir;             // where the package came from
  std::optional<DialogSeen> options;  // the option dialog as it stood when Install was pressed
  bool restarted = false;             // Windows was asked to restart: the mixer is checked after it
};

struct DriverFindings {
  std::vector<std::string> missing;  // each piece Windows would not find, in words
  int infCopies = 0;
  int packageFiles = 0;  // package files staged in the install folder
  std::string mixer;     // "mixer replaced at boot", "mixer replaced", or empty
  std::string summary() const;
};

// `before` is the machine before the run, `after` after it, `booted` after the Windows start
// that followed (the same as `after` when there was none).
DriverFindings checkDriver(const DriverClaim& claim, const Intent& intent, const Machine& after, const FileTree& before,
                           const FileTree& booted);

}  // namespace tvx::sim
