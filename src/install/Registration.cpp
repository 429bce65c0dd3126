#include <cstring>

#include "../core/Constants.h"
#include "../core/PathText.h"
#include "../core/Scoped.h"
#include "../core/Texts.h"
#include "Steps.h"

namespace tvx {

namespace {

const char* const kAudioDevices[] = {"TVX4400/QSND PCI Audio Device", "TVX4300/QSND PCI Audio Device"};
const char* const kGamePort = "TVX4400/QSND PCI game port";
constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
constexpr int kMixerPasses = 60;
constexpr int kTrayPasses = 30;
constexpr int kGamePortPasses = 20;
constexpr int kQuietPolls = 5;

void repaint(const Platform& platform, HWND window) {
  if (window != nullptr) platform.windows.RedrawWindow(window, kRepaintNow);
}

bool readNumber(IRegistry& registry, HKEY key, const char* name, DWORD& number) {
  DWORD type = REG_DWORD;
  DWORD size = sizeof(number);
  return registry.RegQueryValueExA(key, name, &type, reinterpret_cast<BYTE*>(&number), &size) == ERROR_SUCCESS;
}

// The "DriverDesc" of a MEDIA class instance; empty when it cannot be read.
std::string driverDescription(IRegistry& registry, const std::string& instance) {
  const ScopedKey key(registry, HKEY_LOCAL_MACHINE, instance.c_str(), KEY_QUERY_VALUE);
  if (!key.isOpen()) return {};
  char description[256] = {};
  DWORD type = REG_SZ;
  DWORD size = 255;
  const bool read = registry.RegQueryValueExA(key.get(), "DriverDesc", &type, reinterpret_cast<BYTE*>(description),
                                              &size) == ERROR_SUCCESS;
  return read ? description : "";
}

// Visits the instances of the MEDIA class with their description until `visit` says stop; false
// when the class key cannot be opened.
template <typename Visit>
bool forEachMediaInstance(IRegistry& registry, Visit visit) {
  const ScopedKey media(registry, HKEY_LOCAL_MACHINE, kMediaClass, KEY_QUERY_VALUE);
  if (!media.isOpen()) return false;
  char name[20];
  for (DWORD index = 0;; ++index) {
    DWORD size = sizeof(name);
    if (registry.RegEnumKeyExA(media.get(), index, name, &size) != ERROR_SUCCESS) break;
    const std::string instance = std::string(kMediaClass) + "\\" + name;
    if (!visit(instance, driverDescription(registry, instance))) break;
  }
  return true;
}

int waitForMixer(const Platform& platform, HWND repaintWindow) {
  IDevices& devices = platform.devices;
  const UINT base = devices.mixerGetNumDevs();
  int passes = 0;
  while (passes < kMixerPasses) {
    if (devices.mixerGetNumDevs() > base) break;
    ++passes;
    platform.time.SleepEx(3000, FALSE);
    repaint(platform, repaintWindow);
  }
  return passes;
}

// Waits for Windows to show the volume icon again: bit value 4 of the tray's "Services".
void waitForTray(const Platform& platform, int mixerWaitPasses, HWND repaintWindow) {
  IRegistry& registry = platform.registry;
  const ScopedKey key(registry, HKEY_CURRENT_USER, kTrayKey, KEY_ALL_ACCESS);
  if (!key.isOpen()) return;
  DWORD services = 0;
  if (readNumber(registry, key.get(), "Services", services) && mixerWaitPasses > 0) {
    for (int passes = 0; (services & kTrayVolumeBit) == 0 && passes < kTrayPasses; ++passes) {
      platform.time.Sleep(2000);
      repaint(platform, repaintWindow);
      if (!readNumber(registry, key.get(), "Services", services)) break;
    }
  }
}

// Bit 0 of "EnableLegacy" in the Settings of the first audio instance of the card that has one.
bool legacyDevicesEnabled(IRegistry& registry) {
  bool enabled = false;
  forEachMediaInstance(registry, [&](const std::string& instance, const std::string& description) {
    if (description != kAudioDevices[0] && description != kAudioDevices[1]) return true;
    const std::string path = instance + "\\Settings";
    ScopedKey settings(registry, HKEY_LOCAL_MACHINE, path.c_str(), KEY_ALL_ACCESS);
    if (!settings.isOpen()) return true;
    DWORD legacy = 0;
    const bool read = readNumber(registry, settings.get(), "EnableLegacy", legacy);
    settings.close();
    if (!read) return true;
    enabled = (legacy & 1) != 0;
    return false;
  });
  return enabled;
}

void waitForGamePort(const Platform& platform, HWND repaintWindow) {
  for (int pass = 0; pass < kGamePortPasses; ++pass) {
    bool found = false;
    forEachMediaInstance(platform.registry, [&](const std::string&, const std::string& description) {
      found = description == kGamePort;
      return !found;
    });
    if (found) return;
    platform.time.Sleep(2000);
    repaint(platform, repaintWindow);
  }
}

// Makes Windows install the staged WDM driver now. False when Windows could not be given the INF
// or the installation sources could not be extended: then it would not find the driver's files,
// and the device tree is not re-enumerated, so that Windows does not install the device from what
// it has.
bool registerWdmDriver(const InstallContext& ctx, const Platform& platform) {
  const std::string infDir = infFolderIn(windowsFolder(platform.system));
  for (const char* cache : {"Drvdata.bin", "Drvidx.bin"}) {
    if (infDir.empty()) break;
    const std::string path = infDir + cache;
    platform.files.SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    platform.files.DeleteFileA(path.c_str());
  }
  IDevices& devices = platform.devices;
  if (ctx.isWin98SE == 0 && !devices.SetupCopyOEMInfA((std::string(kWdmInstallDir) + "TVAUDIO.INF").c_str(),
                                                      kWdmInstallFolder, SPOST_PATH, 0, nullptr, 0, nullptr, nullptr)) {
    return false;
  }
  ExtendSourceList sources(platform, kWdmInstallFolder);
  if (!sources.done()) return false;
  DEVINST root = 0;
  if (devices.CM_Locate_DevNodeA(&root, nullptr, 0) == CR_SUCCESS) devices.CM_Reenumerate_DevNode(root, 0);
  sources.release();
  return true;
}

// Waits until Windows has installed the WDM driver: the mixer device, the device installer's
// windows, the tray's volume icon and, with the legacy devices enabled, the game port.
void waitForWdmDriver(const Platform& platform, HWND repaintWindow) {
  const int mixerWaitPasses = waitForMixer(platform, repaintWindow);
  WaitForDeviceInstallWindows(platform, repaintWindow);
  waitForTray(platform, mixerWaitPasses, repaintWindow);
  if (legacyDevicesEnabled(platform.registry)) waitForGamePort(platform, repaintWindow);
}

}  // namespace

ExtendSourceList::ExtendSourceList(const Platform& platform, const std::string& folder) : devices_(platform.devices) {
  constexpr DWORD kSystemAndUser = SRCLIST_SYSTEM | SRCLIST_USER;
  // A list that cannot be read is left as it is: writing the new folder alone would lose Windows' own.
  if (!devices_.SetupQuerySourceListA(kSystemAndUser, &queried_, &count_)) {
    queried_ = nullptr;
    const DWORD error = platform.system.GetLastError();
    unavailable_ = error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_PROC_NOT_FOUND || error == ERROR_MOD_NOT_FOUND;
    return;
  }
  std::vector<LPCSTR> extended(queried_, queried_ + count_);
  extended.push_back(folder.c_str());
  extended_ =
      devices_.SetupSetSourceListA(kSystemAndUser, extended.data(), static_cast<UINT>(extended.size())) != FALSE;
}

void ExtendSourceList::release() {
  if (queried_ == nullptr) return;
  devices_.SetupFreeSourceListA(&queried_, count_);
  queried_ = nullptr;
}

void WaitForDeviceInstallWindows(const Platform& platform, HWND repaintWindow) {
  IWindows& windows = platform.windows;
  int quiet = 0;
  while (true) {
    platform.time.Sleep(1000);
    HWND found = windows.FindWindowExA(nullptr, nullptr, "TVDNINST", nullptr);
    if (found == nullptr) {
      found = windows.FindWindowExA(nullptr, nullptr, "__Win95SetupDiskQuery", "__Win95SetupDiskQuery");
    }
    quiet = found != nullptr ? 0 : quiet + 1;
    repaint(platform, repaintWindow);
    if (found == nullptr && quiet >= kQuietPolls) return;
  }
}

void RegisterDriverAndRestart(const InstallContext& ctx, const Platform& platform, DriverRunKind kind, HWND owner,
                              bool vxdFamily) {
  const HWND repaintWindow = kind == DriverRunKind::MainDialogDriverOnly ? owner : nullptr;
  if (kind == DriverRunKind::WdmOptionsDialog || !vxdFamily) {
    if (!registerWdmDriver(ctx, platform)) TellInstallationIncomplete(platform, owner);
    waitForWdmDriver(platform, repaintWindow);
  }
  WaitForDeviceInstallWindows(platform, nullptr);
  platform.time.Sleep(5000);
  platform.windows.MessageBoxA(owner, kCompletionText, kSetupCaption, MB_OK);
  platform.restart.ExitWindowsEx(EWX_REBOOT, 0);
  if (kind != DriverRunKind::MainDialogDriverOnly) platform.exit.Exit(0);
}

}  // namespace tvx
