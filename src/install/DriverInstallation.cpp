#include "DriverInstallation.h"

namespace tvx {

// The installation engine is not built yet. Until it is, a run installs nothing and ends the
// way every finished run from the start-up ends: the process exits with code 0.
void RunDriverInstallation(InstallContext&, const Platform& platform, DriverRunKind kind, HWND, InfPatcher*) {
  if (kind == DriverRunKind::CommandLine || kind == DriverRunKind::WebPackage) platform.exit.Exit(0);
}

}  // namespace tvx
