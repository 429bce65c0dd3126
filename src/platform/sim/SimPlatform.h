// The platform interfaces served by a simulated machine.
#pragma once
#include <map>
#include <memory>

#include "../Platform.h"
#include "CrtStream.h"
#include "DialogTemplate.h"
#include "IniText.h"
#include "Machine.h"
#include "ProgramResources.h"

namespace tvx::sim {

class Files final : public IFileSystem {
 public:
  explicit Files(Machine& m) : m_(m) {}
  BOOL CreateDirectoryA(LPCSTR path) override;
  HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) override;
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override;
  BOOL FindClose(HANDLE find) override;
  BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) override;
  BOOL MoveFileA(LPCSTR existing, LPCSTR target) override;
  DWORD GetFileAttributesA(LPCSTR path) override;
  BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) override;
  BOOL DeleteFileA(LPCSTR path) override;
  DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) override;
  DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override;
  DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart) override;
  BOOL SetCurrentDirectoryA(LPCSTR path) override;
  bool CanOpenForReading(LPCSTR path) override;

  // Where a path lands on the machine, resolved against the current directory.
  std::optional<WinPath> resolve(LPCSTR path) const;
  // Why Windows refuses to write this file (an error code), or ERROR_SUCCESS.
  DWORD writeRefusal(const WinPath& path, const FileNode* node) const;
  // Why Windows refuses to delete this file: a refused write, or the file is open.
  DWORD deleteRefusal(const WinPath& path, const FileNode* node) const;
  // Why Windows refuses to make a new file or folder at this path (read-only media), or ERROR_SUCCESS.
  DWORD createRefusal(const WinPath& path) const;
  bool isRunningProgram(const WinPath& path) const;  // the file of a program that has not ended
  DWORD missingError(const WinPath& path) const;     // file or path not found, as Windows tells them apart

 private:
  struct Search {
    std::vector<WIN32_FIND_DATAA> entries;
    std::size_t next = 0;
  };
  BOOL fail(DWORD error);
  BOOL copyFile(LPCSTR existing, LPCSTR target, BOOL failIfExists);

  Machine& m_;
  std::map<std::uintptr_t, Search> searches_;
  std::uintptr_t nextSearch_ = 0x100;
};

// The C runtime's file streams over the machine's files, with msvcrt's buffering and text mode.
class FileStreams final : public IFileStreams {
 public:
  FileStreams(Machine& m, Files& files) : m_(m), files_(files) {}
  ~FileStreams() override;
  FileStream* fopen(const char* path, const char* mode) override;
  char* fgets(char* buffer, int size, FileStream* stream) override;
  int fputs(const char* text, FileStream* stream) override;
  int fputc(int c, FileStream* stream) override;
  int fseek(FileStream* stream, long offset, int origin) override;
  long ftell(FileStream* stream) override;
  int fflush(FileStream* stream) override;
  int fclose(FileStream* stream) override;
  int feof(FileStream* stream) override;
  int ferror(FileStream* stream) override;

  std::size_t openStreams() const { return streams_.size(); }

 private:
  CrtStream* find(FileStream* stream);
  void recordPatches(const WinPath& path, const std::string& before);
  Machine& m_;
  Files& files_;
  std::map<std::uintptr_t, std::unique_ptr<CrtStream>> streams_;
  std::uintptr_t nextStream_ = 0x4000;
};

class Registry final : public IRegistry {
 public:
  explicit Registry(Machine& m) : m_(m) {}
  LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) override;
  LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, PHKEY result, LPDWORD disposition) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) override;
  LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) override;
  LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize) override;
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize) override;
  LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) override;
  LONG RegDeleteValueA(HKEY key, LPCSTR name) override;

  std::size_t openHandles() const { return handles_.size(); }

 private:
  // The key behind a handle, when the handle was opened with the rights the call needs (the NT
  // family checks them; the 95 family does not).
  LONG lookUp(HKEY key, RegKey** out, REGSAM needed = 0);
  HKEY newHandle(RegKey& key, REGSAM access);

  Machine& m_;
  struct OpenKey {
    std::shared_ptr<RegKey> key;
    REGSAM access = 0;
  };
  std::map<std::uintptr_t, OpenKey> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
};

class Profiles final : public IProfiles {
 public:
  Profiles(Machine& m, Files& files) : m_(m), files_(files) {}
  DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                 LPCSTR file) override;
  UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) override;
  BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) override;

 private:
  std::optional<WinPath> profilePath(LPCSTR file) const;
  BOOL write(const WinPath& path, FileNode* node, IniText& ini, LPCSTR section, LPCSTR key, LPCSTR value);
  DWORD readString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size, LPCSTR file,
                   bool unreadable);
  const IniText& parsed(const std::string& text);
  Machine& m_;
  Files& files_;
  std::optional<std::string> cachedText_;
  IniText cachedIni_;
};

class SystemInfo final : public ISystemInfo {
 public:
  explicit SystemInfo(Machine& m) : m_(m) {}
  BOOL GetVersionExA(OSVERSIONINFOA* info) override;
  UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override;
  UINT GetSystemDirectoryA(LPSTR buffer, UINT size) override;
  DWORD GetModuleFileNameA(LPSTR buffer, DWORD size) override;
  LPCSTR GetCommandLineA() override;
  DWORD GetLastError() override;
  void SetLastError(DWORD code) override;

 private:
  Machine& m_;
};

class Processes final : public IProcesses {
 public:
  Processes(Machine& m, Files& files) : m_(m), files_(files) {}
  UINT WinExec(LPCSTR commandLine, UINT show) override;
  BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, STARTUPINFOA* startup, PROCESS_INFORMATION* info) override;
  DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) override;
  DWORD WaitForSingleObject(HANDLE process, DWORD milliseconds) override;
  BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) override;
  BOOL CloseHandle(HANDLE handle) override;

  std::size_t openHandles() const { return handles_.size(); }

 private:
  using Fields = std::vector<std::pair<std::string, std::string>>;
  // Starts the program a command line names, finding it as CreateProcessA does; -1 if none. The
  // parameters (show state, start-up flags) go into the report with it.
  long start(const std::string& commandLine, const char* how, const Fields& parameters);
  void trayProgramReads();
  std::vector<WinPath> searchFolders() const;
  std::optional<WinPath> findProgram(const std::string& name) const;
  Process* processOf(HANDLE handle);
  // The process a wait is given, or null with the wait's failure as its last error.
  Process* waitTarget(const char* call, HANDLE process);

  Machine& m_;
  Files& files_;
  std::map<std::uintptr_t, std::size_t> handles_;  // process and thread handles -> process index
  std::uintptr_t nextHandle_ = 0x2000;
};

// The headless dialog host: dialogs made from the program's compiled resource templates, in the
// language the machine's user has, with check boxes and radio buttons that behave as Windows'
// automatic ones and the person's actions taken from the machine's script.
class Dialogs final : public IDialogs {
 public:
  Dialogs(Machine& m, const std::vector<ResEntry>& resources) : m_(m), resources_(resources) {}
  INT_PTR DialogBoxParamA(int templateId, HWND parent, DLGPROC proc, LPARAM param) override;
  BOOL EndDialog(HWND dialog, INT_PTR result) override;
  HWND GetDlgItem(HWND dialog, int id) override;
  BOOL CheckDlgButton(HWND dialog, int id, UINT check) override;
  UINT IsDlgButtonChecked(HWND dialog, int id) override;
  BOOL EnableWindow(HWND window, BOOL enable) override;
  BOOL IsWindowEnabled(HWND window) override;
  BOOL IsWindowVisible(HWND window) override;
  BOOL IsIconic(HWND window) override;
  HMENU GetSystemMenu(HWND window, BOOL revert) override;
  BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) override;
  int LoadStringA(UINT id, LPSTR buffer, int size) override;
  HICON LoadIconA(int id) override;
  BOOL GetClientRect(HWND window, RECT* rect) override;
  int GetSystemMetrics(int index) override;
  HDC BeginPaint(HWND window, PAINTSTRUCT* paint) override;
  BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) override;
  BOOL DrawIcon(HDC dc, int x, int y, HICON icon) override;

  // For the window functions: whether a handle is a running dialog's window or control, and
  // what messages, showing and repainting do to them.
  bool owns(HWND window) const;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL ShowControl(HWND control, int show);
  std::string describe(HWND window) const;  // "dialog 102 control 1003" for the report

  // What a person can do in the running dialog; false when the dialog is not running.
  struct Control {
    ControlTemplate t;
    HWND handle = nullptr;
    UINT check = BST_UNCHECKED;
    bool enabled = true;
    bool visible = true;
    bool tabStop = false;  // WS_TABSTOP now: a radio button takes it when checked, loses it when cleared
  };
  struct Running;
  // The innermost running dialog, or null.
  Running* top() { return running_.empty() ? nullptr : running_.back().get(); }
  const Control* control(const Running& dialog, int id) const;
  void act(Running& dialog, const ScriptStep& step);

  struct Running {
    int templateId = 0;
    WORD language = 0;
    DialogTemplate t;
    HWND window = nullptr;
    DLGPROC proc = nullptr;
    std::vector<Control> controls;
    bool shown = false;
    bool ended = false;
    bool iconic = false;
    INT_PTR result = 0;
    int focus = -1;  // index into controls
    HICON icon = nullptr;
    HMENU systemMenu = nullptr;
    std::vector<std::string> menuItems;
    std::vector<std::pair<UINT, UINT_PTR>> menuIds;  // flags and command id of each appended item
    std::vector<std::pair<WPARAM, LPARAM>> posted;   // WM_COMMAND messages waiting in the queue
  };

 private:
  // DialogBoxParamA's steps: the dialog made from its template, WM_INITDIALOG and what it
  // posted, the person's steps until it ends, the end told.
  std::unique_ptr<Running> create(const ResEntry& resource, int templateId, DLGPROC proc);
  void initialise(Running& d, LPARAM param);
  void runUntilEnded(Running& d);
  INT_PTR end(const Running& d, bool beforeShown);
  Running* dialogOf(HWND window) const;
  std::pair<Running*, Control*> controlOf(HWND window) const;
  INT_PTR call(Running& d, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandling(Running& d, UINT message, WPARAM wParam, LPARAM lParam);
  void deliverPosted(Running& d);
  void show(Running& d);
  void setCheck(Running& d, Control& c, UINT check);
  void click(Running& d, Control& c);
  void command(Running& d, int id, HWND from);
  void pressKey(Running& d, const std::string& key);
  void moveFocus(Running& d);
  void note(Running& d, const Control& c, const std::string& state);
  std::string name(const Running& d) const;

  Machine& m_;
  const std::vector<ResEntry>& resources_;
  std::vector<std::unique_ptr<Running>> running_;
  std::uintptr_t nextHandle_ = 0x40000000;
};

class Windows final : public IWindows {
 public:
  // `dialogs`: the running dialogs, whose windows and controls these functions also reach.
  Windows(Machine& m, Dialogs& dialogs) : m_(m), dialogs_(dialogs) {}
  HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title) override;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override;
  BOOL ShowWindow(HWND window, int show) override;
  BOOL RedrawWindow(HWND window, UINT flags) override;
  void ShowWaitCursor(bool waiting) override;

  // A window of this program (a dialog), known to the simulated machine by its title.
  HWND addOwnWindow(const std::string& title, bool visible = true);
  // The machine's window behind a handle, or null.
  Window* windowOf(HWND window);

 private:
  Machine& m_;
  Dialogs& dialogs_;
  std::string lastBox_;          // the last message box: caption, text and buttons
  std::size_t boxCameBack_ = 0;  // how often in a row it came back
};

class Devices final : public IDevices {
 public:
  explicit Devices(Machine& m) : m_(m) {}
  HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags) override;
  BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) override;
  BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, LPDWORD dataType,
                                         LPBYTE buffer, DWORD size, LPDWORD requiredSize) override;
  BOOL SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;
  CONFIGRET CM_Locate_DevNodeA(DEVINST* devInst, LPCSTR deviceId, ULONG flags) override;
  CONFIGRET CM_Reenumerate_DevNode(DEVINST devInst, ULONG flags) override;
  BOOL SetupQuerySourceListA(DWORD flags, LPCSTR** list, PUINT count) override;
  BOOL SetupSetSourceListA(DWORD flags, LPCSTR* list, UINT count) override;
  BOOL SetupFreeSourceListA(LPCSTR** list, UINT count) override;
  BOOL SetupCopyOEMInfA(LPCSTR sourceInf, LPCSTR mediaLocation, DWORD mediaType, DWORD copyStyle, LPSTR destinationName,
                        DWORD destinationSize, PDWORD requiredSize, LPSTR* destinationFilePart) override;
  UINT mixerGetNumDevs() override;

  std::size_t openLists() const { return lists_.size() + sourceLists_.size(); }

 private:
  Device* deviceOf(HDEVINFO set, const SP_DEVINFO_DATA* data);
  bool missing(const char* dll, const char* call);
  BOOL succeeded();
  Machine& m_;
  // Source lists handed out by SetupQuerySourceListA: the strings and the array of pointers.
  struct SourceList {
    std::vector<std::string> entries;
    std::vector<LPCSTR> pointers;
  };
  std::map<std::uintptr_t, SourceList> sourceLists_;
  std::map<std::uintptr_t, std::vector<std::size_t>> lists_;  // device indexes, in enumeration order
  std::uintptr_t nextList_ = 0x3000;
};

class Time final : public ITime {
 public:
  explicit Time(Machine& m) : m_(m) {}
  void Sleep(DWORD milliseconds) override;
  DWORD SleepEx(DWORD milliseconds, BOOL alertable) override;
  DWORD GetTickCount() override;

 private:
  Machine& m_;
};

class Restart final : public IRestart {
 public:
  explicit Restart(Machine& m) : m_(m) {}
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;

 private:
  Machine& m_;
};

class ProcessExit final : public IProcessExit {
 public:
  explicit ProcessExit(Machine& m) : m_(m) {}

 protected:
  void exitProcess(int code) override;

 private:
  Machine& m_;
};

// Every service of one simulated machine.
class SimPlatform {
 public:
  explicit SimPlatform(Machine& machine) : SimPlatform(machine, programResources()) {}
  SimPlatform(Machine& machine, const std::vector<ResEntry>& resources)
      : machine_(machine),
        files_(machine),
        streams_(machine, files_),
        registry_(machine),
        profiles_(machine, files_),
        system_(machine),
        processes_(machine, files_),
        dialogs_(machine, resources),
        windows_(machine, dialogs_),
        devices_(machine),
        time_(machine),
        restart_(machine),
        exit_(machine) {}
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  Platform platform() {
    return Platform{files_,   streams_, registry_, profiles_, system_, processes_,
                    windows_, devices_, time_,     restart_,  exit_,   dialogs_};
  }
  Machine& machine() { return machine_; }
  Files& files() { return files_; }
  FileStreams& streams() { return streams_; }
  Registry& registry() { return registry_; }
  Processes& processes() { return processes_; }
  Windows& windows() { return windows_; }
  Dialogs& dialogs() { return dialogs_; }
  Devices& devices() { return devices_; }

 private:
  Machine& machine_;
  Files files_;
  FileStreams streams_;
  Registry registry_;
  Profiles profiles_;
  SystemInfo system_;
  Processes processes_;
  Dialogs dialogs_;
  Windows windows_;
  Devices devices_;
  Time time_;
  Restart restart_;
  ProcessExit exit_;
};

}  // namespace tvx::sim
