// The setup API, the configuration manager and the mixer device count.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IDevices {
 public:
  virtual ~IDevices() = default;
  virtual HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags) = 0;
  virtual BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) = 0;
  virtual BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, LPDWORD dataType,
                                                 LPBYTE buffer, DWORD size, LPDWORD requiredSize) = 0;
  virtual BOOL SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) = 0;
  virtual BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) = 0;
  virtual CONFIGRET CM_Locate_DevNodeA(DEVINST* devInst, LPCSTR deviceId, ULONG flags) = 0;
  virtual CONFIGRET CM_Reenumerate_DevNode(DEVINST devInst, ULONG flags) = 0;
  virtual UINT mixerGetNumDevs() = 0;
};

}  // namespace tvx
