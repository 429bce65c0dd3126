// The real Windows behind the platform interfaces: thin wrappers over the Win32 calls.
#pragma once
#include "../Platform.h"

namespace tvx::win32 {

class Files final : public IFileSystem {
 public:
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
};

// Binary-mode streams of the program's own (see FileStreams.cpp).
class FileStreams final : public IFileStreams {
 public:
  FileStreams() = default;
  FileStreams(const FileStreams&) = delete;
  FileStreams& operator=(const FileStreams&) = delete;
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

 private:
  struct OpenStream {
    FileStream* stream;
    OpenStream* next;
  };
  OpenStream* open_ = nullptr;
};

class Registry final : public IRegistry {
 public:
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
};

class Profiles final : public IProfiles {
 public:
  DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                 LPCSTR file) override;
  UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) override;
  BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) override;
};

class SystemInfo final : public ISystemInfo {
 public:
  BOOL GetVersionExA(OSVERSIONINFOA* info) override;
  UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override;
  UINT GetSystemDirectoryA(LPSTR buffer, UINT size) override;
  DWORD GetModuleFileNameA(LPSTR buffer, DWORD size) override;
  LPCSTR GetCommandLineA() override;
  DWORD GetLastError() override;
  void SetLastError(DWORD code) override;
};

class Processes final : public IProcesses {
 public:
  UINT WinExec(LPCSTR commandLine, UINT show) override;
  BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, STARTUPINFOA* startup, PROCESS_INFORMATION* info) override;
  DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) override;
  DWORD WaitForSingleObject(HANDLE process, DWORD milliseconds) override;
  BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) override;
  BOOL CloseHandle(HANDLE handle) override;
};

class Windows final : public IWindows {
 public:
  HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title) override;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override;
  BOOL ShowWindow(HWND window, int show) override;
  BOOL RedrawWindow(HWND window, UINT flags) override;
  void ShowWaitCursor(bool waiting) override;

 private:
  HCURSOR previous_ = nullptr;
};

class Dialogs final : public IDialogs {
 public:
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
};

class Devices final : public IDevices {
 public:
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
};

class Time final : public ITime {
 public:
  void Sleep(DWORD milliseconds) override;
  DWORD SleepEx(DWORD milliseconds, BOOL alertable) override;
  DWORD GetTickCount() override;
};

class Restart final : public IRestart {
 public:
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;
};

class ProcessExit final : public IProcessExit {
 public:
 protected:
  void exitProcess(int code) override;
};

// Every service of the running Windows, as one platform.
class Machine {
 public:
  Platform platform() {
    return Platform{files_,   streams_, registry_, profiles_, system_, processes_,
                    windows_, devices_, time_,     restart_,  exit_,   dialogs_};
  }

 private:
  Files files_;
  FileStreams streams_;
  Registry registry_;
  Profiles profiles_;
  SystemInfo system_;
  Processes processes_;
  Windows windows_;
  Dialogs dialogs_;
  Devices devices_;
  Time time_;
  Restart restart_;
  ProcessExit exit_;
};

}  // namespace tvx::win32
