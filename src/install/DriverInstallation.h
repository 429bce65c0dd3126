// The driver installation procedure, from the announcement to the restart.
#pragma once
#include <string>
#include <vector>

#include "../core/InstallContext.h"

namespace tvx {

// The five ways a driver installation is started.
enum class DriverRunKind { MainDialogWithSuite, MainDialogDriverOnly, CommandLine, WebPackage, WdmOptionsDialog };

// What the WDM options dialog writes into each staged INF before it is copied into the INF store.
class InfPatcher {
 public:
  virtual ~InfPatcher() = default;
  // False when the file could not be opened, read or written.
  virtual bool ApplyWdmOptionsToInf(const std::string& infPath) = 0;
};

// Full paths of the INF copies placed in the Windows INF folders during one run, in order.
using StagedInfList = std::vector<std::string>;

// What the staging of a run put in place.
struct StagedPackage {
  bool vxd = false;  // the VxD package of "W95-98"; else the WDM package of "W2K-ME"
  // Whether all that Windows needs of the package is in place: the listing of the package, each
  // file staged, the INF copies, the catalog and the mixer's replacement.
  bool whole = false;
  StagedInfList infCopies;
};

// Runs the driver installation with the owner window of its messages (none: null).
// - MainDialogWithSuite returns after the INF steps; the main dialog goes on with the suite.
// - MainDialogDriverOnly returns after the completion message and the restart request; the main
//   dialog then ends with OK.
// - CommandLine, WebPackage and WdmOptionsDialog end the process (exit code 0).
// `patcher` is used by WdmOptionsDialog only, and must be given there. Gives what was staged.
StagedPackage RunDriverInstallation(InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner,
                                    InfPatcher* patcher = nullptr);

// Finishes a driver that MainDialogWithSuite staged, as MainDialogDriverOnly finishes its own: the
// registration, the waits, the completion message and the restart request. Returns to the main
// dialog, which then ends with OK. `vxdFamily`: the family that run staged.
void FinishDriverInstallation(InstallContext& ctx, const Platform& platform, HWND mainDialog, bool vxdFamily);

}  // namespace tvx
