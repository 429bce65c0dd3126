#include <cstring>

#include "Cleanup.h"

namespace tvx {

namespace {
constexpr DWORD kHardwareIdBuffer = 1024;
constexpr std::size_t kWantedBuffer = 256;
}  // namespace

// `wanted` is a 256-character buffer holding the text to look for; when a device is found it
// receives that device's whole hardware ID (cut to the buffer). *removeFlag asks for the
// removal on entry and tells whether it succeeded on return. The result is true when the last
// error is zero at the end; the last error is kept across the release of the device list.
BOOL RemoveDeviceByHardwareId(const Platform& platform, char* wanted, int* removeFlag) {
  IDevices& devices = platform.devices;
  HDEVINFO set = devices.SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  if (set == INVALID_HANDLE_VALUE) return FALSE;

  const std::string text(wanted);
  bool done = false;
  for (DWORD index = 0; !done; ++index) {
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    if (!devices.SetupDiEnumDeviceInfo(set, index, &device)) break;
    char ids[kHardwareIdBuffer + 1] = {};  // one more NUL than the call may fill
    DWORD filled = 0;
    if (!devices.SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, nullptr,
                                                   reinterpret_cast<BYTE*>(ids), kHardwareIdBuffer, &filled)) {
      continue;
    }
    const char* end = ids + (filled < kHardwareIdBuffer ? filled : kHardwareIdBuffer);
    for (const char* id = ids; id < end && *id != '\0'; id += std::strlen(id) + 1) {
      if (std::strstr(id, text.c_str()) == nullptr) continue;
      if (*removeFlag != 0) *removeFlag = devices.SetupDiRemoveDevice(set, &device) ? 1 : 0;
      std::strncpy(wanted, id, kWantedBuffer - 1);
      wanted[kWantedBuffer - 1] = '\0';
      done = true;
      break;
    }
  }

  const DWORD lastError = platform.system.GetLastError();
  devices.SetupDiDestroyDeviceInfoList(set);
  platform.system.SetLastError(lastError);
  return lastError == 0;
}

}  // namespace tvx
