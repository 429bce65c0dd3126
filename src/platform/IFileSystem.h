// Files and directories, as the Win32 file functions see them.
#pragma once
#include "WinTypes.h"

namespace tvx {

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  virtual BOOL CreateDirectoryA(LPCSTR path) = 0;
  virtual HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL FindClose(HANDLE find) = 0;
  virtual BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) = 0;
  virtual BOOL MoveFileA(LPCSTR existing, LPCSTR target) = 0;
  virtual DWORD GetFileAttributesA(LPCSTR path) = 0;
  virtual BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) = 0;
  virtual BOOL DeleteFileA(LPCSTR path) = 0;
  virtual DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) = 0;
  virtual DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) = 0;
  virtual DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart) = 0;
  virtual BOOL SetCurrentDirectoryA(LPCSTR path) = 0;
  // The C runtime's fopen(path, "rb") followed by fclose: true when the file opens for reading;
  // when it does not, GetLastError tells why (no such file, no such folder, no disc, refused).
  virtual bool CanOpenForReading(LPCSTR path) = 0;
};

}  // namespace tvx
