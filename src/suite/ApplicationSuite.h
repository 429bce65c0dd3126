// The application suite: its start-up audio settings, closing and uninstalling the running or
// earlier suite, the marker file for the suite's installer and starting that installer.
#pragma once
#include <string>

#include "../core/InstallContext.h"

namespace tvx {

// At every start: the CD player's "UsingCDDA", the default recording format, and the removal
// of the suite's start-up entry.
void ApplyStartupAudioSettings(const InstallContext& ctx, const Platform& platform);
// Closes "SoundDeck", or when it is not running the three players.
void CloseSuiteWindows(const Platform& platform);
// Runs the earlier suite's uninstaller with " -a" and waits until it has ended.
void RemovePreviousSuite(const Platform& platform);
// Writes TVXSETUP.INI, which tells the suite's installer what is left to do. False when it could
// not be written whole.
bool WriteResumeMarkers(const Platform& platform, int installDriver, int vxdFamily);
// Starts the suite's installer without waiting for it. False when it did not start.
bool LaunchSuiteSetup(const Platform& platform, const std::string& setupPath);

// The "/AP" flow of the start-up: no window of this program; ends the process with code 0.
[[noreturn]] void InstallApplicationSuiteFromCommandLine(InstallContext& ctx, const Platform& platform);
// How the main dialog's form ended: the installer started; nothing started (the person was told
// why); or, while the driver is staged, the person gave up the CD or the installer did not start
// (the person was told so): the driver is left to finish without the suite's installer.
enum class SuiteStart { Started, NotStarted, DriverLeftToFinish };

// The main dialog's form, with the driver already staged when "Install Device Driver" is
// checked; `vxdFamily` is the family staged then (1: VxD), else the one chosen.
SuiteStart InstallApplicationSuite(InstallContext& ctx, const Platform& platform, HWND mainDialog, int vxdFamily);

}  // namespace tvx
