// The fixed names the layers share: the folders the driver is installed to, and the registry keys
// more than one step reads or writes.
#pragma once
#include "../platform/WinTypes.h"

namespace tvx {

constexpr const char* kProgramFilesDir = "C:\\Program Files\\";
constexpr const char* kMakerDir = "C:\\Program Files\\Tarvic\\";
constexpr const char* kDosDir = "C:\\Program Files\\Tarvic\\DOS\\";
constexpr const char* kDosAppDir = "C:\\Program Files\\Tarvic\\DOS\\DOSAPP\\";
constexpr const char* kVxdInstallDir = "C:\\Program Files\\Tarvic\\W95-98\\";
constexpr const char* kVxdSubPackageDir = "C:\\Program Files\\Tarvic\\W95-98\\026\\";
constexpr const char* kWdmInstallDir = "C:\\Program Files\\Tarvic\\W2K-ME\\";
// The install folders without their backslash, as the INF source entries and the source list name them.
constexpr const char* kVxdInstallFolder = "C:\\Program Files\\Tarvic\\W95-98";
constexpr const char* kWdmInstallFolder = "C:\\Program Files\\Tarvic\\W2K-ME";

// The tray's settings, per user (HKEY_CURRENT_USER) and for the default user (HKEY_USERS), and
// the bit of their "Services" value that shows the volume icon.
constexpr const char* kTrayKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray";
constexpr const char* kDefaultTrayKey = ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray";
constexpr DWORD kTrayVolumeBit = 4;

// The multimedia device class (HKEY_LOCAL_MACHINE); its instances are subkeys.
constexpr const char* kMediaClass = "System\\CurrentControlSet\\Services\\Class\\MEDIA";

}  // namespace tvx
