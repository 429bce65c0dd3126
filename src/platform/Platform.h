// The services of one Windows machine, handed to the code that needs them.
#pragma once
#include "IDevices.h"
#include "IDialogs.h"
#include "IFileStreams.h"
#include "IFileSystem.h"
#include "IProcessExit.h"
#include "IProcesses.h"
#include "IProfiles.h"
#include "IRegistry.h"
#include "IRestart.h"
#include "ISystemInfo.h"
#include "ITime.h"
#include "IWindows.h"

namespace tvx {

struct Platform {
  IFileSystem& files;
  IFileStreams& streams;
  IRegistry& registry;
  IProfiles& profiles;
  ISystemInfo& system;
  IProcesses& processes;
  IWindows& windows;
  IDevices& devices;
  ITime& time;
  IRestart& restart;
  IProcessExit& exit;
  IDialogs& dialogs;
};

}  // namespace tvx
