// The probe on real Windows.
#include "../../src/platform/win32/Win32Platform.h"
#include "probe.h"

int main() {
  tvx::win32::Machine machine;
  runProbe(machine.platform());
  return 0;
}
