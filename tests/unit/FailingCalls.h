// Calls of the simulated machine made to fail where a test aims them, as Windows fails them: one
// profile write among the many of a run (to a given file, section or key), a folder listing cut
// short after a given name (the CD taken out while it is listed). The machine's own fault plan
// fails the Nth call of a run, which one call more or less before it moves; these fail the call
// the test names. Every other call goes to the machine.
#pragma once
#include <functional>
#include <map>
#include <string>

#include "SimMachine.h"

namespace tvx::test {

// Profile writes for which `fails` holds are refused (ERROR_ACCESS_DENIED) and change nothing.
class FailingProfileWrites : public IProfiles {
 public:
  using Aim = std::function<bool(const std::string& file, const std::string& section, const std::string& key)>;
  FailingProfileWrites(const Platform& platform, Aim fails)
      : profiles_(platform.profiles), system_(platform.system), fails_(std::move(fails)) {}
  DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                 LPCSTR file) override {
    return profiles_.GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
  }
  UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) override {
    return profiles_.GetPrivateProfileIntA(section, key, defaultValue, file);
  }
  BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) override {
    if (fails_(file != nullptr ? file : "", section != nullptr ? section : "", key != nullptr ? key : "")) {
      ++refused;
      system_.SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    return profiles_.WritePrivateProfileStringA(section, key, value, file);
  }
  int refused = 0;  // the writes refused so far

 private:
  IProfiles& profiles_;
  ISystemInfo& system_;
  Aim fails_;
};

// A search of `pattern` (compared without case) stops with ERROR_NOT_READY, as on a drive whose CD
// was taken out, right after it has given the entry `lastName`.
class ListingCutShort : public IFileSystem {
 public:
  ListingCutShort(const Platform& platform, std::string pattern, std::string lastName)
      : files_(platform.files), system_(platform.system), pattern_(upper(pattern)), lastName_(upper(lastName)) {}
  HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) override {
    HANDLE find = files_.FindFirstFileA(pattern, data);
    if (find != INVALID_HANDLE_VALUE && upper(pattern) == pattern_) given_[find] = upper(data->cFileName);
    return find;
  }
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override {
    auto aimed = given_.find(find);
    if (aimed != given_.end() && aimed->second == lastName_) {
      ++cut;
      system_.SetLastError(ERROR_NOT_READY);
      return FALSE;
    }
    const BOOL found = files_.FindNextFileA(find, data);
    if (found && aimed != given_.end()) aimed->second = upper(data->cFileName);
    return found;
  }
  BOOL FindClose(HANDLE find) override {
    given_.erase(find);
    return files_.FindClose(find);
  }
  BOOL CreateDirectoryA(LPCSTR path) override { return files_.CreateDirectoryA(path); }
  BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) override {
    return files_.CopyFileA(existing, target, failIfExists);
  }
  BOOL MoveFileA(LPCSTR existing, LPCSTR target) override { return files_.MoveFileA(existing, target); }
  DWORD GetFileAttributesA(LPCSTR path) override { return files_.GetFileAttributesA(path); }
  BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) override {
    return files_.SetFileAttributesA(path, attributes);
  }
  BOOL DeleteFileA(LPCSTR path) override { return files_.DeleteFileA(path); }
  DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) override {
    return files_.GetShortPathNameA(longPath, shortPath, size);
  }
  DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override { return files_.GetCurrentDirectoryA(size, buffer); }
  DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart) override {
    return files_.GetFullPathNameA(path, size, buffer, filePart);
  }
  BOOL SetCurrentDirectoryA(LPCSTR path) override { return files_.SetCurrentDirectoryA(path); }
  bool CanOpenForReading(LPCSTR path) override { return files_.CanOpenForReading(path); }
  int cut = 0;  // the searches cut short so far

 private:
  static std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  }
  IFileSystem& files_;
  ISystemInfo& system_;
  std::string pattern_;
  std::string lastName_;
  std::map<HANDLE, std::string> given_;  // the aimed searches and the name each gave last
};

// The platform with its profiles or files served by the above.
inline Platform withProfiles(const Platform& p, IProfiles& profiles) {
  return Platform{p.files,   p.streams, p.registry, profiles,  p.system, p.processes,
                  p.windows, p.devices, p.time,     p.restart, p.exit,   p.dialogs};
}
inline Platform withFiles(const Platform& p, IFileSystem& files) {
  return Platform{files,     p.streams, p.registry, p.profiles, p.system, p.processes,
                  p.windows, p.devices, p.time,     p.restart,  p.exit,   p.dialogs};
}

}  // namespace tvx::test
