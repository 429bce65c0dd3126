// The state probe under Wine: state_probe.exe [cleanup]
//
// Wine keeps the NT rule for RegDeleteKeyA (a key with subkeys is not deleted) even when it
// reports Windows 98; Windows 95, 98 and Me delete the whole subtree, and the removal relies on
// that. This program gives its registry that behaviour, so that the run is the one Windows 98
// would make.
#include <cstring>

#include "../../../src/platform/win32/Win32Platform.h"
#include "state_probe.h"

namespace {

class Windows95Registry final : public tvx::IRegistry {
 public:
  explicit Windows95Registry(tvx::IRegistry& real) : real_(real) {}
  LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) override {
    return real_.RegOpenKeyExA(key, subKey, options, access, result);
  }
  LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, PHKEY result, LPDWORD disposition) override {
    return real_.RegCreateKeyExA(key, subKey, result, disposition);
  }
  LONG RegCloseKey(HKEY key) override { return real_.RegCloseKey(key); }
  LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) override {
    return real_.RegQueryValueExA(key, name, type, data, size);
  }
  LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) override {
    return real_.RegSetValueExA(key, name, type, data, size);
  }
  LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize) override {
    return real_.RegEnumKeyExA(key, index, name, nameSize);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize) override {
    return real_.RegEnumValueA(key, index, name, nameSize, type, data, dataSize);
  }
  LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) override {
    HKEY target = nullptr;
    if (real_.RegOpenKeyExA(key, subKey, 0, KEY_ALL_ACCESS, &target) == ERROR_SUCCESS) {
      char name[256];
      while (true) {
        DWORD size = sizeof(name);
        if (real_.RegEnumKeyExA(target, 0, name, &size) != ERROR_SUCCESS) break;
        if (RegDeleteKeyA(target, name) != ERROR_SUCCESS) break;
      }
      real_.RegCloseKey(target);
    }
    return real_.RegDeleteKeyA(key, subKey);
  }
  LONG RegDeleteValueA(HKEY key, LPCSTR name) override { return real_.RegDeleteValueA(key, name); }

 private:
  tvx::IRegistry& real_;
};

}  // namespace

int main(int argc, char** argv) {
  tvx::win32::Machine machine;
  tvx::Platform real = machine.platform();
  Windows95Registry registry(real.registry);
  tvx::Platform p{real.files,   real.streams, registry,  real.profiles, real.system, real.processes,
                  real.windows, real.devices, real.time, real.restart,  real.exit,   real.dialogs};
  if (argc > 1 && std::strcmp(argv[1], "cleanup") == 0) runCleanup(p);
  printState(p);
  return 0;
}
