// MixerWatch SECONDS: watches, from beside the winmm.dll stand-in, what the stand-ins make of a
// machine's events: the mixer count, the device installer's window, the imported audio device
// and the tray's volume bit. Prints the time in milliseconds and the state whenever it changes.
// First it closes the "Mixer" window, as the setup does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void readString(HKEY root, const char* path, const char* name, char* out, DWORD size) {
  lstrcpynA(out, "none", static_cast<int>(size));
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  DWORD type = 0;
  RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
  RegCloseKey(key);
}

DWORD readNumber(HKEY root, const char* path, const char* name) {
  HKEY key = nullptr;
  DWORD value = 0xFFFFFFFF;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
  DWORD size = sizeof(value);
  RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  const DWORD seconds = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10;
  HWND mixer = FindWindowA(nullptr, "Mixer");
  std::printf("Mixer window: %s\n", mixer != nullptr ? "found" : "missing");
  if (mixer != nullptr) SendMessageA(mixer, WM_CLOSE, 0, 0);
  std::printf("Mixer window after WM_CLOSE: %s\n", FindWindowA(nullptr, "Mixer") != nullptr ? "open" : "gone");
  const DWORD start = GetTickCount();
  char last[512] = {};
  while (GetTickCount() - start < seconds * 1000) {
    char desc[128];
    readString(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0001", "DriverDesc", desc,
               sizeof(desc));
    char state[512];
    std::snprintf(
        state, sizeof(state), "mixers=%u tvdninst=%s media=%s services=%lu", mixerGetNumDevs(),
        FindWindowA("TVDNINST", nullptr) != nullptr ? "open" : "closed", desc,
        readNumber(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray", "Services"));
    if (std::strcmp(state, last) != 0) {
      std::printf("%lu %s\n", GetTickCount() - start, state);
      std::fflush(stdout);
      lstrcpynA(last, state, sizeof(last));
    }
    Sleep(100);
  }
  return 0;
}
