// The state of one simulated Windows machine and what happened on it during a run. Its clock and
// timed events are in MachineClock.cpp, what Windows 95/98/Me do at start in WinInit.cpp.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../WinTypes.h"
#include "DiscImage.h"
#include "FaultPlan.h"
#include "FileTree.h"
#include "OsVersion.h"
#include "Paths.h"
#include "RegistryTree.h"
#include "Text.h"

namespace tvx::sim {

struct Device {
  std::string instanceId;
  std::vector<std::string> hardwareIds;
  bool present = true;
  bool removalFails = false;
};

struct Window {
  std::string title;
  std::string className;
  bool refusesClose = false;
  bool open = true;
  bool visible = true;
};

// How a program behaves when the setup starts it: how long it runs, when it can take input,
// its exit code and the windows it opens while it runs and closes when started.
struct ProgramBehaviour {
  DWORD runsFor = 0;
  DWORD idleAfter = 0;
  DWORD exitCode = 0;
  std::vector<std::string> opensWindows;
  std::vector<std::string> closesWindows;
  bool runsUntilClosed = false;  // runs until its windows are closed, whatever runsFor says
  bool console = false;          // a console program: it has no message queue to be idle with
};

struct Process {
  std::string commandLine;
  std::string program;  // the file that was run
  DWORD startedAt = 0;
  ProgramBehaviour behaviour;
  std::vector<std::size_t> windows;  // indexes of the windows it opened
  bool ended = false;
};

// One thing that happened during a run, in the report's words.
struct Happening {
  DWORD at = 0;
  std::string kind;  // message, start, close, restart, exit, device, boot, ...
  std::vector<std::pair<std::string, std::string>> fields;
  std::string field(const std::string& name) const;
};

struct ScriptStep {
  std::string kind;  // "message", or a dialog action: "click", "key", "sysmenu", "close", "minimize"
  std::string value;
  int line = 0;
  DWORD delay = 0;          // how long the person takes to answer
  std::string dialog = {};  // a dialog action's dialog, by template number or title; empty: any
  bool isDialogAction() const { return kind != "message"; }
};

struct TimedEvent {
  DWORD at = 0;
  std::string description;
  std::function<void()> action;
};

// The program asked to end its process; carries the exit code out of the simulated run.
struct ProcessExitRequest {
  int code = 0;
};

// How often a file is open in the program's file streams.
struct OpenCount {
  int readers = 0;
  int writers = 0;
};

class Machine {
 public:
  Machine();
  // The scenario's events act on this machine: a copy would act on the original.
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  OsVersion os;
  std::string windowsDir = "C:\\WINDOWS";
  std::string systemDir = "C:\\WINDOWS\\SYSTEM";
  std::string commandLine;  // as GetCommandLineA returns it
  std::string modulePath;   // as GetModuleFileNameA returns it
  WinPath currentDir;
  bool versionQueryFails = false;
  std::string searchPath;          // PATH, folders separated by ";"
  char cdDrive = 'D';              // read-only media: its files are read-only and nothing on it can be written
  std::map<char, DiscInfo> discs;  // the drives laid from a disc image, by letter

  FileTree files;
  RegistryTree registry;
  std::set<std::string> undeletableKeys;  // "HKEY_LOCAL_MACHINE\Enum\PCI\X", compared without case

  std::vector<Device> devices;
  std::vector<Window> windows;
  // A window of this program (a dialog), known to the machine by its title; handles are 0x10 apart.
  HWND addOwnWindow(const std::string& title, bool visible = true);
  // The window behind a handle, or null.
  Window* windowOf(HWND window);
  static HWND windowHandle(std::size_t index) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(index + 1) * 0x10);
  }
  std::map<std::string, ProgramBehaviour> programs;  // by the program's full path, upper case
  std::vector<Process> processes;
  std::vector<ScriptStep> script;
  std::size_t scriptPosition = 0;
  // [Script] again=: how the person answers a message box that comes back, the same, right after
  // they answered it, where the script has no step for it (empty: OK, as any other box).
  std::string answerAgain;
  // A box offering Cancel that the script does not answer gets Cancel instead of OK: the person
  // has nothing to give that the box asks for (a CD taken out for good).
  bool cancelsUnscriptedPrompts = false;
  std::vector<TimedEvent> events;  // in time order
  // What the world does after the device tree is re-enumerated, by time after it; scheduled at
  // the first re-enumeration.
  std::vector<TimedEvent> afterReenumeration;
  bool reenumerated = false;
  std::set<std::string, ILess> failingCalls;  // platform calls that fail on this machine, by name
  // System DLLs this Windows lacks ("setupapi.dll", "cfgmgr32.dll"): their functions fail as the
  // program's own look-up fails them, with ERROR_MOD_NOT_FOUND.
  std::set<std::string, ILess> missingDlls;
  bool lacks(const char* dll) const { return missingDlls.count(dll) != 0; }
  std::map<std::string, OpenCount> openFiles;  // by full path in upper case
  bool waitCursor = false;
  bool shutdownPrivilege = false;
  // Streams in text mode: msvcrt.dll's (the platform probe compares them); Setup.exe's own streams
  // open binary modes only.
  bool crtTextModes = false;  // the NT family: whether the program enabled SE_SHUTDOWN_NAME
  // What the program asked of the world around its sleeps: each sleep is recorded with the last
  // question before it ("after") and the first one after it ("then"), which tells a polling wait
  // from a pause.
  std::string lastQuery;
  std::optional<std::size_t> sleepAwaitingQuestion;  // index in the log
  void asked(std::string what);
  UINT mixerDevices = 0;
  // Drives whose medium (the CD) is taken out. Their files stay in the tree, as the disc keeps
  // them, but no program reaches them until the medium is put back.
  std::set<char> drivesWithoutMedium;
  bool hasMedium(char drive) const;
  // The file or folder at a path as a program reaches it: nothing on a drive without its medium.
  FileNode* fileAt(const WinPath& path) const;
  // Events that come right after the program's Nth file copy ("copy 12"), by that number.
  std::multimap<std::size_t, TimedEvent> afterCopies;
  std::size_t copies = 0;
  // Counts a file copy of the program and lets the world do what it does right after that copy.
  void copied();
  WORD language = 0x409;  // the user's language, by which Windows picks a program's dialogs

  DWORD lastError = 0;
  DWORD now = 0;  // virtual milliseconds since the program started
  std::vector<Happening> log;
  bool restartRequested = false;
  std::optional<int> exitCode;

  void record(const std::string& kind, std::vector<std::pair<std::string, std::string>> fields);
  // Moves the virtual clock on, running the scenario's events and ending programs as their time comes.
  void advance(DWORD milliseconds);
  void addEvent(DWORD at, std::string description, std::function<void()> action);
  // The next answer of the script when it is of this kind.
  std::optional<ScriptStep> takeScriptStep(const std::string& kind);
  // The next step of the script when it is an action in this dialog.
  std::optional<ScriptStep> takeDialogStep(int templateId, const std::string& title);

  // What Windows 95/98/Me do at start: carry out the [rename] section of WININIT.INI in order,
  // then keep the file as WININIT.BAK. Returns what was done, one line per entry.
  std::vector<std::string> boot();

  WinPath windowsPath() const;

  void openFile(const WinPath& path, bool writing);
  void closeFile(const WinPath& path, bool writing);
  OpenCount openCount(const WinPath& path) const;
  bool fails(const char* call) const { return failingCalls.count(call) != 0; }
  // Whether the last GetPrivateProfileIntA of each value failed, by "FILE|SECTION|KEY" in upper case:
  // the program then took the value's default, as for a missing one.
  std::map<std::string, bool> lastNumberReadFailed;
  // Files that are there but whose last test of the program's, whether they open for reading,
  // failed (the fault plan made it fail, or another program holds them), by full path in upper case.
  std::set<std::string> unopenedFiles;
  // Files another program holds open without sharing them, by full path in upper case: Windows
  // lists them and gives their attributes, but opening one, copying from or onto it and deleting it
  // fail with ERROR_SHARING_VIOLATION.
  std::set<std::string> heldFiles;
  bool holds(const WinPath& path) const { return heldFiles.count(toUpper(path.str())) != 0; }
  // Files a full disk cut short, with their content then (a later whole write mends them).
  std::map<std::string, std::string> writesCutShort;
  // Counts a platform call; true when this call is the one the fault plan makes fail.
  bool injectFault(const char* call);
  // The same for a call that tells its failure through GetLastError: the failing call leaves
  // `error` behind. The first line of every simulated call that can fail.
  bool injectFault(const char* call, DWORD error) {
    if (!injectFault(call)) return false;
    lastError = error;
    return true;
  }
  FaultPlan faults;
  // Schedules the world's reaction to a re-enumeration of the device tree (once).
  void reenumerate();
  // When a program's time is up: the end of its run time, or never while its windows are open.
  bool programIsDue(const Process& p) const;

 private:
  void settle();
};

}  // namespace tvx::sim
