// The setup API and the configuration manager are looked up when first used, so that the
// program starts on a Windows that lacks one of their DLLs; a missing function is a failed call.
// mmsystem.h needs the Windows types first.
// clang-format off
#include "Win32Platform.h"
#include <mmsystem.h>
// clang-format on

namespace tvx::win32 {
namespace {

template <typename Fn>
Fn lookUp(const char* dll, const char* name) {
  HMODULE module = ::GetModuleHandleA(dll);
  if (module == nullptr) module = ::LoadLibraryA(dll);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

using GetClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCSTR, HWND, DWORD);
using EnumDeviceInfoFn = BOOL(WINAPI*)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
using GetPropertyFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, DWORD, PDWORD, PBYTE, DWORD, PDWORD);
using RemoveDeviceFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA);
using DestroyListFn = BOOL(WINAPI*)(HDEVINFO);
using LocateDevNodeFn = CONFIGRET(WINAPI*)(PDEVINST, DEVINSTID_A, ULONG);
using ReenumerateFn = CONFIGRET(WINAPI*)(DEVINST, ULONG);

}  // namespace

HDEVINFO Devices::SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags) {
  auto fn = lookUp<GetClassDevsFn>("setupapi.dll", "SetupDiGetClassDevsA");
  if (fn == nullptr) {
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return fn(classGuid, enumerator, parent, flags);
}

BOOL Devices::SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) {
  auto fn = lookUp<EnumDeviceInfoFn>("setupapi.dll", "SetupDiEnumDeviceInfo");
  return fn != nullptr && fn(set, index, data);
}

BOOL Devices::SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, LPDWORD dataType,
                                                LPBYTE buffer, DWORD size, LPDWORD requiredSize) {
  auto fn = lookUp<GetPropertyFn>("setupapi.dll", "SetupDiGetDeviceRegistryPropertyA");
  return fn != nullptr && fn(set, data, property, dataType, buffer, size, requiredSize);
}

BOOL Devices::SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) {
  auto fn = lookUp<RemoveDeviceFn>("setupapi.dll", "SetupDiRemoveDevice");
  return fn != nullptr && fn(set, data);
}

BOOL Devices::SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  auto fn = lookUp<DestroyListFn>("setupapi.dll", "SetupDiDestroyDeviceInfoList");
  return fn != nullptr && fn(set);
}

CONFIGRET Devices::CM_Locate_DevNodeA(DEVINST* devInst, LPCSTR deviceId, ULONG flags) {
  auto fn = lookUp<LocateDevNodeFn>("cfgmgr32.dll", "CM_Locate_DevNodeA");
  if (fn == nullptr) return CR_FAILURE;
  return fn(devInst, const_cast<DEVINSTID_A>(deviceId), flags);
}

CONFIGRET Devices::CM_Reenumerate_DevNode(DEVINST devInst, ULONG flags) {
  auto fn = lookUp<ReenumerateFn>("cfgmgr32.dll", "CM_Reenumerate_DevNode");
  if (fn == nullptr) return CR_FAILURE;
  return fn(devInst, flags);
}

UINT Devices::mixerGetNumDevs() { return ::mixerGetNumDevs(); }

}  // namespace tvx::win32
