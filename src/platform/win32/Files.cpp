#include "Win32Platform.h"

namespace tvx::win32 {

BOOL Files::CreateDirectoryA(LPCSTR path) { return ::CreateDirectoryA(path, nullptr); }
HANDLE Files::FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) { return ::FindFirstFileA(pattern, data); }
BOOL Files::FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) { return ::FindNextFileA(find, data); }
BOOL Files::FindClose(HANDLE find) { return ::FindClose(find); }
BOOL Files::CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  return ::CopyFileA(existing, target, failIfExists);
}
BOOL Files::MoveFileA(LPCSTR existing, LPCSTR target) { return ::MoveFileA(existing, target); }
DWORD Files::GetFileAttributesA(LPCSTR path) { return ::GetFileAttributesA(path); }
BOOL Files::SetFileAttributesA(LPCSTR path, DWORD attributes) { return ::SetFileAttributesA(path, attributes); }
BOOL Files::DeleteFileA(LPCSTR path) { return ::DeleteFileA(path); }
DWORD Files::GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  return ::GetShortPathNameA(longPath, shortPath, size);
}
DWORD Files::GetCurrentDirectoryA(DWORD size, LPSTR buffer) { return ::GetCurrentDirectoryA(size, buffer); }
DWORD Files::GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart) {
  return ::GetFullPathNameA(path, size, buffer, filePart);
}
BOOL Files::SetCurrentDirectoryA(LPCSTR path) { return ::SetCurrentDirectoryA(path); }

// Opened as fopen opens a file for reading: shared for reading and writing.
bool Files::CanOpenForReading(LPCSTR path) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

}  // namespace tvx::win32
