#include "../app/FolderScan.h"
#include "../app/PathText.h"
#include "../cleanup/Cleanup.h"
#include "../suite/ApplicationSuite.h"
#include "InfOptions.h"
#include "InstallPaths.h"
#include "Steps.h"

namespace tvx {

namespace {

const char* const kNtRefusal = "This driver can not be used on Windows NT or Windows 2000.";
const char* const kMixerKeys[] = {"Software\\Tarvic Sound Suite\\Mixer", "Software\\Tarvic\\Mixer"};

// The INF folder: INF\OTHER where it exists (it then stays the current folder), else INF.
std::string infFolder(const Platform& platform) {
  const std::string inf = windowsFolder(platform.system) + "INF\\";
  return platform.files.SetCurrentDirectoryA((inf + "OTHER\\").c_str()) ? inf + "OTHER\\" : inf;
}

// Writes the dialog's options into one INF copy, each line only where the option differs from
// what the package ships.
void applyOptions(const Platform& platform, FileStream* inf, const VxdInfOptions& options) {
  IFileStreams& streams = platform.streams;
  if (options.midiPortDisabled) PatchInfOptionLine(platform, inf, "HKR,Config,DISMPU,1,0", '1', 100);
  if (options.gamePortDisabled) {
    streams.fseek(inf, 0, kSeekSet);
    PatchInfOptionLine(platform, inf, "HKR,Config,DISJSTK,1,0", '1', 100);
  }
  if (options.lineInAsRear == 0) {
    streams.fseek(inf, 0, kSeekSet);
    PatchInfOptionLine(platform, inf, "HKR,Config,LINEINasREAR,1,1", '0', 0);
  }
  if (options.lineInAsBass == 1) {
    streams.fseek(inf, 0, kSeekSet);
    PatchInfOptionLine(platform, inf, "HKR,Config,LINEINasBASS,1,0", '1', 0);
  }
  if (options.micAsBass == 1) {
    streams.fseek(inf, 0, kSeekSet);
    PatchInfOptionLine(platform, inf, "HKR,Config,MICasBASS,1,0", '1', 0);
  }
  streams.fseek(inf, 0, kSeekEnd);
  streams.fflush(inf);
}

// The folder of the suite's mixer, from the first of its registry keys whose "Path" holds a
// Mixer.exe; empty when neither does.
std::string mixerFolder(const Platform& platform) {
  IRegistry& registry = platform.registry;
  for (const char* path : kMixerKeys) {
    HKEY key = nullptr;
    if (registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) continue;
    char folder[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    const bool read =
        registry.RegQueryValueExA(key, "Path", nullptr, reinterpret_cast<BYTE*>(folder), &size) == ERROR_SUCCESS;
    registry.RegCloseKey(key);
    if (!read) continue;
    const std::string mixer = withBackslash(folder);
    if (platform.files.CanOpenForReading((mixer + "Mixer.exe").c_str())) return mixer;
  }
  return {};
}

}  // namespace

void InstallVxdWithOptions(const VxdInstallInputs& inputs, const Platform& platform, HWND dialog) {
  IFileSystem& files = platform.files;
  platform.windows.ShowWaitCursor(true);
  CloseSuiteWindows(platform);
  // The mixer holds its program file: it could not be replaced while it runs.
  CloseWindowTitled(platform, "Mixer");
  platform.time.Sleep(500);
  StagedInfList stagedInfList;

  InstallContext running;
  classifyOs(running, platform.system);
  if (running.isNT4 || running.isNT5) {
    platform.windows.MessageBoxA(dialog, kNtRefusal, "Information", MB_OK);
    platform.exit.Exit(0);
  }
  const bool windows95Family = running.isWin95 || running.isWin98 || running.isWinMe;
  // Without the package there is nothing to install: the earlier driver stays as it is.
  if (!HoldsDriverPackage(files, inputs.sourceDir)) RefuseMissingPackage(platform, dialog);

  CleanOldDriverRegistry(platform);
  CleanOldDriverFiles(platform, 1);
  const std::string infDir = infFolder(platform);
  for (const char* folder : {kProgramFilesDir, kMakerDir, kVxdInstallDir, kVxdSubPackageDir}) {
    files.CreateDirectoryA(folder);
  }
  if (inputs.fullPackage == 0) {
    const std::string system = systemFolder(platform.system);
    for (const char* sample : {"SMPDATA.DAT", "SMPINDEX.DAT"}) {
      CopyFileOver(platform, system + sample, std::string(kVxdInstallDir) + sample, true);
    }
  }

  for (const std::string& name : plainFilesOf(files, inputs.sourceDir + "*.*")) {
    CopyFileOver(platform, inputs.sourceDir + name, kVxdInstallDir + name, true);
    if (!windows95Family || !isInfName(name)) continue;
    const std::string copy = infDir + name;
    CopyFileOver(platform, inputs.sourceDir + name, copy, true);
    if (FileStream* inf = platform.streams.fopen(copy.c_str(), "r+b")) {
      applyOptions(platform, inf, inputs.options);
      platform.streams.fclose(inf);
    }
    stagedInfList.push_back(copy);
  }
  if (windows95Family) {
    const std::string subPackage = inputs.sourceDir + "026\\";
    for (const std::string& name : plainFilesOf(files, subPackage + "*.*")) {
      CopyFileOver(platform, subPackage + name, kVxdSubPackageDir + name, true);
    }
  }

  for (const std::string& inf : stagedInfList) {
    char disk[1024] = {};
    platform.profiles.GetPrivateProfileStringA("SourceDisksNames", "1", "", disk, sizeof(disk), inf.c_str());
    const std::string entry = std::string(disk) + ", " + kVxdInstallFolder;
    platform.profiles.WritePrivateProfileStringA("SourceDisksNames", "1", entry.c_str(), inf.c_str());
  }
  stagedInfList.clear();

  // The new mixer replaces the suite's at once; a mixer that is running keeps its file.
  const std::string mixer = mixerFolder(platform);
  if (!mixer.empty()) {
    const std::string newMixer = std::string(kVxdInstallDir) + "Mixer.exe";
    CopyFileOver(platform, newMixer, mixer + "Mixer.exe", true);
    const std::string windowsMixer = windowsFolder(platform.system) + "Mixer.exe";
    if (files.CanOpenForReading(windowsMixer.c_str())) CopyFileOver(platform, newMixer, windowsMixer, true);
  }

  platform.windows.MessageBoxA(dialog, kCompletionText, "Setup", MB_OK);
  platform.restart.ExitWindowsEx(EWX_REBOOT, 0);
  platform.exit.Exit(0);
}

}  // namespace tvx
