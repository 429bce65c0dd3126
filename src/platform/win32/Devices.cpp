// The setup API and the configuration manager are looked up when used, so that the program
// starts on a Windows that lacks their DLLs (Windows 95 as it ships has neither setupapi.dll nor
// cfgmgr32.dll); a call whose DLL or function is missing is a failed call, and so is one that
// raises an exception instead of returning (Wine's unimplemented functions do). The failed call
// gives the failure its function documents (INVALID_HANDLE_VALUE, FALSE, CR_FAILURE) with the last
// error ERROR_MOD_NOT_FOUND for a missing DLL, ERROR_PROC_NOT_FOUND for a missing function and
// ERROR_CALL_NOT_IMPLEMENTED for one that raised. mmsystem.h needs the Windows types first.
// clang-format off
#include "Win32Platform.h"
#include <mmsystem.h>
// clang-format on
#include "Guard.h"

namespace tvx::win32 {
namespace {

// The function of a system DLL, or null with the last error saying which of the two is missing.
template <typename Fn>
Fn lookUp(const char* dll, const char* name) {
  HMODULE module = ::GetModuleHandleA(dll);
  if (module == nullptr) module = ::LoadLibraryA(dll);
  if (module == nullptr) {
    ::SetLastError(ERROR_MOD_NOT_FOUND);  // one code on every Windows, whatever LoadLibraryA left
    return nullptr;
  }
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  if (fn == nullptr) ::SetLastError(ERROR_PROC_NOT_FOUND);
  return fn;
}

// Calls a function of a system DLL; `failed` is its result when the DLL or the function is missing
// or the call raises.
template <typename Fn, typename Result, typename... Args>
Result callSystem(const char* dll, const char* name, Result failed, Args... args) {
  auto fn = lookUp<Fn>(dll, name);
  if (fn == nullptr) return failed;
  Result result = failed;
  if (!callGuarded([&] { result = fn(args...); })) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return failed;
  }
  return result;
}

using GetClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCSTR, HWND, DWORD);
using EnumDeviceInfoFn = BOOL(WINAPI*)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
using GetPropertyFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, DWORD, PDWORD, PBYTE, DWORD, PDWORD);
using RemoveDeviceFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA);
using DestroyListFn = BOOL(WINAPI*)(HDEVINFO);
using QuerySourceListFn = BOOL(WINAPI*)(DWORD, PCSTR**, PUINT);
using SetSourceListFn = BOOL(WINAPI*)(DWORD, PCSTR*, UINT);
using FreeSourceListFn = BOOL(WINAPI*)(PCSTR**, UINT);
using CopyOemInfFn = BOOL(WINAPI*)(PCSTR, PCSTR, DWORD, DWORD, PSTR, DWORD, PDWORD, PSTR*);
using LocateDevNodeFn = CONFIGRET(WINAPI*)(PDEVINST, DEVINSTID_A, ULONG);
using ReenumerateFn = CONFIGRET(WINAPI*)(DEVINST, ULONG);

const char* const kSetupApi = "setupapi.dll";
const char* const kConfigManager = "cfgmgr32.dll";

}  // namespace

HDEVINFO Devices::SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags) {
  return callSystem<GetClassDevsFn>(kSetupApi, "SetupDiGetClassDevsA", INVALID_HANDLE_VALUE, classGuid, enumerator,
                                    parent, flags);
}

BOOL Devices::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) {
  return callSystem<EnumDeviceInfoFn>(kSetupApi, "SetupDiEnumDeviceInfo", FALSE, set, index, data);
}

BOOL Devices::SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, LPDWORD dataType,
                                                LPBYTE buffer, DWORD size, LPDWORD requiredSize) {
  return callSystem<GetPropertyFn>(kSetupApi, "SetupDiGetDeviceRegistryPropertyA", FALSE, set, data, property, dataType,
                                   buffer, size, requiredSize);
}

BOOL Devices::SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) {
  return callSystem<RemoveDeviceFn>(kSetupApi, "SetupDiRemoveDevice", FALSE, set, data);
}

BOOL Devices::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  return callSystem<DestroyListFn>(kSetupApi, "SetupDiDestroyDeviceInfoList", FALSE, set);
}

BOOL Devices::SetupQuerySourceListA(DWORD flags, LPCSTR** list, PUINT count) {
  return callSystem<QuerySourceListFn>(kSetupApi, "SetupQuerySourceListA", FALSE, flags, list, count);
}

BOOL Devices::SetupSetSourceListA(DWORD flags, LPCSTR* list, UINT count) {
  return callSystem<SetSourceListFn>(kSetupApi, "SetupSetSourceListA", FALSE, flags, list, count);
}

BOOL Devices::SetupFreeSourceListA(LPCSTR** list, UINT count) {
  return callSystem<FreeSourceListFn>(kSetupApi, "SetupFreeSourceListA", FALSE, list, count);
}

BOOL Devices::SetupCopyOEMInfA(LPCSTR sourceInf, LPCSTR mediaLocation, DWORD mediaType, DWORD copyStyle,
                               LPSTR destinationName, DWORD destinationSize, PDWORD requiredSize,
                               LPSTR* destinationFilePart) {
  return callSystem<CopyOemInfFn>(kSetupApi, "SetupCopyOEMInfA", FALSE, sourceInf, mediaLocation, mediaType, copyStyle,
                                  destinationName, destinationSize, requiredSize, destinationFilePart);
}

CONFIGRET Devices::CM_Locate_DevNodeA(DEVINST* devInst, LPCSTR deviceId, ULONG flags) {
  return callSystem<LocateDevNodeFn>(kConfigManager, "CM_Locate_DevNodeA", CONFIGRET{CR_FAILURE}, devInst,
                                     const_cast<DEVINSTID_A>(deviceId), flags);
}

CONFIGRET Devices::CM_Reenumerate_DevNode(DEVINST devInst, ULONG flags) {
  return callSystem<ReenumerateFn>(kConfigManager, "CM_Reenumerate_DevNode", CONFIGRET{CR_FAILURE}, devInst, flags);
}

UINT Devices::mixerGetNumDevs() { return ::mixerGetNumDevs(); }

}  // namespace tvx::win32
