// The setup API and the configuration manager where Wine lacks them: the machine folder names
// the calls that fail (SetupQuerySourceListA raises under Wine, which the platform turns into a
// failed call, and CM_Locate_DevNodeA fails), and both sides must fail them alike.
#include <cstdio>

#include "probe.h"

void probeDevices(const tvx::Platform& p) {
  LPCSTR* list = nullptr;
  UINT count = 99;
  p.system.SetLastError(0);
  const BOOL queried = p.devices.SetupQuerySourceListA(0x30, &list, &count);
  std::printf("SetupQuerySourceListA: %s, error %u, list %s, count %u\n", queried ? "TRUE" : "FALSE",
              static_cast<unsigned>(p.system.GetLastError()), list != nullptr ? "set" : "null",
              static_cast<unsigned>(count));
  if (queried) p.devices.SetupFreeSourceListA(&list, count);
  DEVINST root = 0;
  std::printf("CM_Locate_DevNodeA: %u\n", static_cast<unsigned>(p.devices.CM_Locate_DevNodeA(&root, nullptr, 0)));
  std::printf("mixerGetNumDevs: %u\n", p.devices.mixerGetNumDevs());
}
