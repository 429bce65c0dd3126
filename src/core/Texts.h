// What the program says to the person, word for word, and the captions it says it under.
#pragma once

namespace tvx {

constexpr const char* kSetupCaption = "Setup";
constexpr const char* kInformationCaption = "Information";

constexpr const char* kAnnouncementText = "The driver will be installed now. It need a few minutes to complete.";
constexpr const char* kCompletionText = "Setup completed! The system will restart now!";
constexpr const char* kMissingInstallationFiles = "Can not find installation files.";
constexpr const char* kInstallationIncomplete = "Can not complete the installation. Please run Setup again.";
constexpr const char* kHandOffMissingText = "Can not find the setup program for Windows 2000/XP.";
constexpr const char* kHandOffNotStartedText = "Can not start the setup program for Windows 2000/XP.";
constexpr const char* kSuiteMissingText = "Can not find the Tarvic Sound Suite setup program.";
constexpr const char* kSuiteNotStartedText = "Can not start the Tarvic Sound Suite setup program.";
constexpr const char* kInsertCdText =
    "Can not find the Tarvic Sound Suite setup program.\n Please insert the installation CD now.";
constexpr const char* kNtRefusalText = "This driver can not be used on Windows NT or Windows 2000.";
constexpr const char* kUnknownWindowsText = "Can not tell the version of Windows. The driver can not be installed.";
constexpr const char* kWdmRefusalText = "This WDM driver can only be installed on Windows 98SE/ME/2000";

}  // namespace tvx
