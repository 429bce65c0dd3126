// Stand-in for a running suite program: a top-level window with the title given on the command
// line ("SoundDeck", "CD Player", ...) that writes down when WM_CLOSE closes it.
#include "PeerLog.h"

namespace {
char g_title[128];

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    peerLog("Window closed|%s", g_title);
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const char* title = commandLine != nullptr && *commandLine != '\0' ? commandLine : "SoundDeck";
  if (*title == '"') ++title;
  lstrcpynA(g_title, title, sizeof(g_title));
  const int length = lstrlenA(g_title);
  if (length > 0 && g_title[length - 1] == '"') g_title[length - 1] = '\0';
  WNDCLASSA cls = {};
  cls.lpfnWndProc = windowProc;
  cls.hInstance = instance;
  cls.lpszClassName = "TvxSuiteWindow";
  RegisterClassA(&cls);
  HWND window = CreateWindowA("TvxSuiteWindow", g_title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                              nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  peerLog("Window open|%s", g_title);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
