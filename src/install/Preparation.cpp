#include <cstring>

#include "../cleanup/Cleanup.h"
#include "../core/Constants.h"
#include "../core/PathText.h"
#include "../core/Scoped.h"
#include "../core/Texts.h"
#include "../suite/ApplicationSuite.h"
#include "Steps.h"

namespace tvx {

namespace {

// Takes the volume icon out of the tray: bit value 4 of "Services" cleared, the others kept.
void clearTrayVolumeBit(IRegistry& registry, HKEY root, const char* path) {
  const ScopedKey key(registry, root, path, KEY_ALL_ACCESS);
  if (!key.isOpen()) return;
  DWORD services = 0;
  DWORD type = REG_DWORD;
  DWORD size = sizeof(services);
  if (registry.RegQueryValueExA(key.get(), "Services", &type, reinterpret_cast<BYTE*>(&services), &size) ==
      ERROR_SUCCESS) {
    services &= ~kTrayVolumeBit;
    registry.RegSetValueExA(key.get(), "Services", type, reinterpret_cast<const BYTE*>(&services), sizeof(services));
  }
}

void removeEarlierDrivers(const Platform& platform) {
  char wanted[256] = {};
  std::strcpy(wanted, "PCI\\VEN_1D0C&DEV_0111");
  int removeFlag = 1;
  RemoveDeviceByHardwareId(platform, wanted, &removeFlag);
  CleanOldDriverRegistry(platform);
  CleanOldDriverFiles(platform, 0);
}

}  // namespace

void CloseWindowTitled(const Platform& platform, const char* title) {
  if (HWND window = platform.windows.FindWindowExA(nullptr, nullptr, nullptr, title)) {
    platform.windows.SendMessageA(window, WM_CLOSE, 0, 0);
  }
}

void PrepareForDriverInstall(const Platform& platform, DriverRunKind kind, HWND owner) {
  const bool wdmDialog = kind == DriverRunKind::WdmOptionsDialog;
  IWindows& windows = platform.windows;
  if (wdmDialog) {
    windows.ShowWaitCursor(true);
    CloseSuiteWindows(platform);
    CloseWindowTitled(platform, "Mixer");
    platform.time.Sleep(500);
  }
  if (kind != DriverRunKind::MainDialogWithSuite) {
    windows.MessageBoxA(kind == DriverRunKind::MainDialogDriverOnly ? owner : nullptr, kAnnouncementText, kSetupCaption,
                        MB_OK);
  }
  if (kind == DriverRunKind::WebPackage) windows.ShowWaitCursor(true);
  if (wdmDialog) windows.ShowWindow(owner, SW_HIDE);

  CloseWindowTitled(platform, "Mixer");
  clearTrayVolumeBit(platform.registry, HKEY_CURRENT_USER, kTrayKey);
  clearTrayVolumeBit(platform.registry, HKEY_USERS, kDefaultTrayKey);
  platform.processes.WinExec("SysTray.exe", SW_SHOW);
  platform.time.Sleep(500);
  if (!wdmDialog && kind != DriverRunKind::WebPackage) windows.ShowWaitCursor(true);

  // An existing mixerdef.ini only: the profile write would create a missing one.
  if (const std::string windowsDir = windowsFolder(platform.system); !windowsDir.empty()) {
    const std::string mixerSettings = windowsDir + "mixerdef.ini";
    const ScopedStream settings(platform.streams, mixerSettings.c_str(), "rb");
    if (settings.isOpen()) {
      platform.profiles.WritePrivateProfileStringA("RUNTIME", "Initialize", "0", mixerSettings.c_str());
    }
  }

  if (wdmDialog) {
    InstallContext running;
    classifyOs(running, platform.system);
    if (!running.isWin98SE && !running.isWinMe) {
      windows.MessageBoxA(owner, kWdmRefusalText, programName(platform.system).c_str(), MB_OK);
      platform.exit.Exit(0);
    }
  }
  removeEarlierDrivers(platform);
}

}  // namespace tvx
