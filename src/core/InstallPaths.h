// The fixed folders the driver is installed to, and the texts the engine shares.
#pragma once

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

constexpr const char* kCompletionText = "Setup completed! The system will restart now!";
constexpr const char* kMissingInstallationFiles = "Can not find installation files.";
constexpr const char* kInstallationIncomplete = "Can not complete the installation. Please run Setup again.";

}  // namespace tvx
