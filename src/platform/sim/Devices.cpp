#include <cstring>

#include "SimPlatform.h"

namespace tvx::sim {

namespace {
constexpr DWORD kErrorInvalidUserBuffer = 0xE000020B;  // SetupAPI's ERROR_INVALID_USER_BUFFER
}

// A function of a DLL this Windows lacks: the program's look-up finds nothing and the call fails
// with ERROR_MOD_NOT_FOUND (the configuration manager's functions give CR_FAILURE besides).
bool Devices::missing(const char* dll, const char* call) {
  if (!m_.lacks(dll)) return false;
  m_.lastError = ERROR_MOD_NOT_FOUND;
  m_.record("missing dll", {{"call", call}, {"dll", dll}});
  return true;
}

// The setup API ends every successful call by clearing the last error, as Windows' setupapi does.
BOOL Devices::succeeded() {
  m_.lastError = ERROR_SUCCESS;
  return TRUE;
}

HDEVINFO Devices::SetupDiGetClassDevsA(const GUID*, LPCSTR, HWND, DWORD flags) {
  if (m_.injectFault("SetupDiGetClassDevsA", ERROR_NOT_ENOUGH_MEMORY)) return INVALID_HANDLE_VALUE;
  if (missing("setupapi.dll", "SetupDiGetClassDevsA")) return INVALID_HANDLE_VALUE;
  std::vector<std::size_t> list;
  for (std::size_t i = 0; i < m_.devices.size(); ++i) {
    if (m_.devices[i].present || (flags & DIGCF_PRESENT) == 0) list.push_back(i);
  }
  std::uintptr_t id = nextList_;
  nextList_ += 4;
  lists_[id] = std::move(list);
  succeeded();
  return reinterpret_cast<HDEVINFO>(id);
}

Device* Devices::deviceOf(HDEVINFO set, const SP_DEVINFO_DATA* data) {
  auto it = lists_.find(reinterpret_cast<std::uintptr_t>(set));
  if (it == lists_.end() || data == nullptr) return nullptr;
  std::size_t index = data->DevInst;
  return index < m_.devices.size() ? &m_.devices[index] : nullptr;
}

BOOL Devices::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) {
  if (m_.injectFault("SetupDiEnumDeviceInfo", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  if (missing("setupapi.dll", "SetupDiEnumDeviceInfo")) return FALSE;
  auto it = lists_.find(reinterpret_cast<std::uintptr_t>(set));
  if (it == lists_.end()) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  if (data == nullptr || data->cbSize != sizeof(SP_DEVINFO_DATA)) {
    m_.lastError = kErrorInvalidUserBuffer;
    return FALSE;
  }
  if (index >= it->second.size()) {
    m_.lastError = ERROR_NO_MORE_ITEMS;
    return FALSE;
  }
  data->DevInst = static_cast<DWORD>(it->second[index]);
  return succeeded();
}

BOOL Devices::SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, LPDWORD dataType,
                                                LPBYTE buffer, DWORD size, LPDWORD requiredSize) {
  if (m_.injectFault("SetupDiGetDeviceRegistryPropertyA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  if (missing("setupapi.dll", "SetupDiGetDeviceRegistryPropertyA")) return FALSE;
  Device* d = deviceOf(set, data);
  if (d == nullptr) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  if (property != SPDRP_HARDWAREID || d->hardwareIds.empty()) {
    m_.lastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  std::string list;
  for (const auto& id : d->hardwareIds) list += id + '\0';
  list += '\0';
  if (dataType != nullptr) *dataType = REG_MULTI_SZ;
  if (requiredSize != nullptr) *requiredSize = static_cast<DWORD>(list.size());
  if (buffer == nullptr || size < list.size()) {
    m_.lastError = ERROR_INSUFFICIENT_BUFFER;
    return FALSE;
  }
  std::memcpy(buffer, list.data(), list.size());
  return succeeded();
}

BOOL Devices::SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) {
  if (m_.injectFault("SetupDiRemoveDevice", ERROR_ACCESS_DENIED)) return FALSE;
  if (missing("setupapi.dll", "SetupDiRemoveDevice")) return FALSE;
  Device* d = deviceOf(set, data);
  if (d == nullptr) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  if (d->removalFails) {
    m_.record("device", {{"removalFailed", d->instanceId}});
    m_.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  d->present = false;
  m_.record("device", {{"removed", d->instanceId}});
  return succeeded();
}

BOOL Devices::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  if (missing("setupapi.dll", "SetupDiDestroyDeviceInfoList")) return FALSE;
  if (lists_.erase(reinterpret_cast<std::uintptr_t>(set)) == 0) {
    m_.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  return succeeded();
}

CONFIGRET Devices::CM_Locate_DevNodeA(DEVINST* devInst, LPCSTR, ULONG) {
  if (m_.injectFault("CM_Locate_DevNodeA")) return CR_FAILURE;
  if (missing("cfgmgr32.dll", "CM_Locate_DevNodeA")) return CR_FAILURE;
  if (m_.fails("CM_Locate_DevNodeA")) return CR_FAILURE;
  *devInst = 1;  // the root of the device tree
  return CR_SUCCESS;
}

CONFIGRET Devices::CM_Reenumerate_DevNode(DEVINST devInst, ULONG) {
  if (m_.injectFault("CM_Reenumerate_DevNode")) return CR_FAILURE;
  if (missing("cfgmgr32.dll", "CM_Reenumerate_DevNode")) return CR_FAILURE;
  if (devInst != 1 || m_.fails("CM_Reenumerate_DevNode")) return CR_NO_SUCH_DEVNODE;
  m_.record("device", {{"reenumerated", "device tree"}});
  m_.reenumerate();
  return CR_SUCCESS;
}

UINT Devices::mixerGetNumDevs() {
  if (m_.injectFault("mixerGetNumDevs")) return 0;
  m_.asked("the mixer count");
  // Windows installs a device while the program goes on: what is due now happens right after
  // the count was read, so a count can rise between two reads with no time between them.
  const UINT count = m_.mixerDevices;
  m_.advance(0);
  return count;
}

}  // namespace tvx::sim
