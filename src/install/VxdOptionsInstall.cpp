#include "../cleanup/Cleanup.h"
#include "../core/Constants.h"
#include "../core/FolderScan.h"
#include "../core/PathText.h"
#include "../core/Scoped.h"
#include "../core/Texts.h"
#include "../suite/ApplicationSuite.h"
#include "InfOptions.h"
#include "Steps.h"

namespace tvx {

namespace {

const char* const kMixerKeys[] = {"Software\\Tarvic Sound Suite\\Mixer", "Software\\Tarvic\\Mixer"};

// The INF folder: INF\OTHER where it exists (it then stays the current folder), else INF; empty
// when Windows does not tell its folder.
std::string infCopyFolder(const Platform& platform) {
  const std::string inf = infFolderIn(windowsFolder(platform.system));
  if (inf.empty()) return {};
  return platform.files.SetCurrentDirectoryA((inf + "OTHER\\").c_str()) ? inf + "OTHER\\" : inf;
}

// Writes the dialog's options into one INF copy, each line only where the option differs from
// what the package ships. False when the copy could not be read or written.
bool applyOptions(const Platform& platform, FileStream* inf, const VxdInfOptions& options) {
  IFileStreams& streams = platform.streams;
  struct Line {
    bool wanted;
    const char* text;
    char digit;
    DWORD waitMs;
  };
  const Line lines[] = {{options.midiPortDisabled, "HKR,Config,DISMPU,1,0", '1', 100},
                        {options.gamePortDisabled, "HKR,Config,DISJSTK,1,0", '1', 100},
                        {options.lineInAsRear == 0, "HKR,Config,LINEINasREAR,1,1", '0', 0},
                        {options.lineInAsBass == 1, "HKR,Config,LINEINasBASS,1,0", '1', 0},
                        {options.micAsBass == 1, "HKR,Config,MICasBASS,1,0", '1', 0}};
  bool whole = true;
  for (const Line& line : lines) {
    if (!line.wanted) continue;
    // The MIDI port's line is looked for from where the file was opened, each other from its start.
    if (&line != &lines[0] && streams.fseek(inf, 0, kSeekSet) != 0) whole = false;
    whole = PatchInfOptionLine(platform, inf, line.text, line.digit, line.waitMs) != OptionLinePatch::Failed && whole;
  }
  streams.fseek(inf, 0, kSeekEnd);
  return streams.fflush(inf) == 0 && whole;
}

bool anyOption(const VxdInfOptions& o) {
  return o.midiPortDisabled || o.gamePortDisabled || o.lineInAsRear == 0 || o.lineInAsBass == 1 || o.micAsBass == 1;
}

// The folder of the suite's mixer, from the first of its registry keys whose "Path" holds a
// Mixer.exe; empty when neither does. `readable` turns false when a key that is there could not be read.
std::string mixerFolder(const Platform& platform, bool& readable) {
  IRegistry& registry = platform.registry;
  for (const char* path : kMixerKeys) {
    ScopedKey key(registry, HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE);
    if (!key.isOpen()) {
      readable = readable && key.result() == static_cast<LONG>(ERROR_FILE_NOT_FOUND);
      continue;
    }
    char folder[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    const LONG read = registry.RegQueryValueExA(key.get(), "Path", nullptr, reinterpret_cast<BYTE*>(folder), &size);
    key.close();
    if (read != ERROR_SUCCESS) {
      readable = readable && read == static_cast<LONG>(ERROR_FILE_NOT_FOUND);
      continue;
    }
    const std::string mixer = withBackslash(folder);
    if (FileIsThere(platform.files, mixer + "Mixer.exe")) return mixer;
  }
  return {};
}

// Copies a file of the package over an installed one; a package without that file has nothing
// to copy. False when the copy failed otherwise.
bool copyIfInPackage(const Platform& platform, const std::string& source, const std::string& destination) {
  return CopyFileOver(platform, source, destination, true) || platform.system.GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The Windows NT family is refused, as is a Windows the program cannot tell (its version could
// not be read); a folder without the package changes nothing. Each ends the process.
void refuseWhereNothingCanBeInstalled(const VxdInstallInputs& inputs, const Platform& platform, HWND dialog) {
  InstallContext running;
  classifyOs(running, platform.system);
  if (running.isNT4 || running.isNT5) {
    platform.windows.MessageBoxA(dialog, kNtRefusalText, kInformationCaption, MB_OK);
    platform.exit.Exit(0);
  }
  if (!running.isWin95 && !running.isWin98 && !running.isWinMe) RefuseUnknownWindows(platform, dialog);
  if (!HoldsDriverPackage(platform, inputs.sourceDir, true)) RefuseMissingPackage(platform, dialog);
}

// The package into the install folder and each INF, with the dialog's options, into the INF
// folder; then the sub-package. `whole`: the package listed, staged and placed with its options.
StagedPackage stageWithOptions(const VxdInstallInputs& inputs, const Platform& platform, const std::string& infDir) {
  StagedPackage staged;
  staged.vxd = true;
  const FolderListing package = listPlainFiles(platform, inputs.sourceDir + "*.*");
  bool whole = package.whole && !infDir.empty();
  for (const std::string& name : package.names) {
    whole = CopyFileOver(platform, inputs.sourceDir + name, kVxdInstallDir + name, true) && whole;
    if (!isInfName(name)) continue;
    const std::string copy = infDir + name;
    whole = CopyFileOver(platform, inputs.sourceDir + name, copy, true) && whole;
    if (ScopedStream inf(platform.streams, copy.c_str(), "r+b"); inf.isOpen()) {
      whole = applyOptions(platform, inf.get(), inputs.options) && whole;
      whole = inf.close() == 0 && whole;
    } else if (anyOption(inputs.options)) {
      whole = false;  // the options could not be written
    }
    staged.infCopies.push_back(copy);
  }
  copyFolder(platform, inputs.sourceDir + "026\\", kVxdSubPackageDir);
  staged.whole = whole;
  return staged;
}

// Points each INF copy's disk "1" at the install folder. False when a copy lost its entry or
// could not be written.
bool pointCopiesAtInstallFolder(const VxdInstallInputs& inputs, const Platform& platform,
                                const StagedInfList& infCopies) {
  bool whole = true;
  for (const std::string& inf : infCopies) {
    char disk[1024] = {};
    platform.profiles.GetPrivateProfileStringA("SourceDisksNames", "1", "", disk, sizeof(disk), inf.c_str());
    if (disk[0] == '\0') {
      // A copy that could not be read while the package's INF has the disk would lose its entry.
      char original[1024] = {};
      const std::string packageInf = inputs.sourceDir + inf.substr(inf.rfind('\\') + 1);
      platform.profiles.GetPrivateProfileStringA("SourceDisksNames", "1", "", original, sizeof(original),
                                                 packageInf.c_str());
      if (original[0] != '\0') whole = false;
    }
    const std::string entry = std::string(disk) + ", " + kVxdInstallFolder;
    whole = platform.profiles.WritePrivateProfileStringA("SourceDisksNames", "1", entry.c_str(), inf.c_str()) && whole;
  }
  return whole;
}

// The new mixer replaces the suite's at once, and the one in the Windows folder where there is
// one. False when the suite's mixer could not be looked up or replaced.
bool replaceSuiteMixer(const Platform& platform) {
  bool mixerKnown = true;
  const std::string mixer = mixerFolder(platform, mixerKnown);
  bool whole = mixerKnown;
  if (mixer.empty()) return whole;
  const std::string newMixer = std::string(kVxdInstallDir) + "Mixer.exe";
  whole = copyIfInPackage(platform, newMixer, mixer + "Mixer.exe") && whole;
  const std::string windows = windowsFolder(platform.system);
  const std::string windowsMixer = windows + "Mixer.exe";
  if (windows.empty()) return false;
  if (FileIsThere(platform.files, windowsMixer)) whole = copyIfInPackage(platform, newMixer, windowsMixer) && whole;
  return whole;
}

}  // namespace

void InstallVxdWithOptions(const VxdInstallInputs& inputs, const Platform& platform, HWND dialog) {
  IFileSystem& files = platform.files;
  platform.windows.ShowWaitCursor(true);
  CloseSuiteWindows(platform);
  // The mixer holds its program file: it could not be replaced while it runs.
  CloseWindowTitled(platform, "Mixer");
  platform.time.Sleep(500);
  refuseWhereNothingCanBeInstalled(inputs, platform, dialog);

  CleanOldDriverRegistry(platform);
  CleanOldDriverFiles(platform, 1);
  const std::string infDir = infCopyFolder(platform);
  for (const char* folder : {kProgramFilesDir, kMakerDir, kVxdInstallDir, kVxdSubPackageDir}) {
    files.CreateDirectoryA(folder);
  }
  if (inputs.fullPackage == 0) {
    const std::string system = systemFolder(platform.system);
    for (const char* sample : {"SMPDATA.DAT", "SMPINDEX.DAT"}) {
      CopyFileOver(platform, system + sample, std::string(kVxdInstallDir) + sample, true);
    }
  }
  // All that Windows needs in place, or the person is told the truth.
  const StagedPackage staged = stageWithOptions(inputs, platform, infDir);
  bool whole = pointCopiesAtInstallFolder(inputs, platform, staged.infCopies) && staged.whole;
  whole = replaceSuiteMixer(platform) && whole;
  if (!whole) TellInstallationIncomplete(platform, dialog);

  platform.windows.MessageBoxA(dialog, kCompletionText, kSetupCaption, MB_OK);
  platform.restart.ExitWindowsEx(EWX_REBOOT, 0);
  platform.exit.Exit(0);
}

}  // namespace tvx
