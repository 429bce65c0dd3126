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
  // The installation source list: the folders Windows offers when it asks for driver files.
  virtual BOOL SetupQuerySourceListA(DWORD flags, LPCSTR** list, PUINT count) = 0;
  virtual BOOL SetupSetSourceListA(DWORD flags, LPCSTR* list, UINT count) = 0;
  virtual BOOL SetupFreeSourceListA(LPCSTR** list, UINT count) = 0;
  // Registers a driver INF with Windows: Windows keeps a copy in its INF folder and notes where
  // the driver files are.
  virtual BOOL SetupCopyOEMInfA(LPCSTR sourceInf, LPCSTR mediaLocation, DWORD mediaType, DWORD copyStyle,
                                LPSTR destinationName, DWORD destinationSize, PDWORD requiredSize,
                                LPSTR* destinationFilePart) = 0;
  virtual UINT mixerGetNumDevs() = 0;
};

}  // namespace tvx
