// DlgCtl: what a person does with the mouse in a dialog of another program, for the Wine tests:
// finds the dialog by its title and clicks a control by its id (BM_CLICK, so the dialog gets the
// same notification as from the mouse), or reads the controls' check, enable and visible states.
//
//   DlgCtl wait TITLE [SECONDS]      waits until the dialog is on the screen
//   DlgCtl gone TITLE [SECONDS]      waits until it has closed
//   DlgCtl click TITLE ID            clicks the control (not when it is disabled or hidden)
//   DlgCtl where TITLE ID            prints the screen point "X Y" at the middle of the control, for
//                                    a mouse click through the display (not when disabled or hidden)
//   DlgCtl state TITLE ID...         prints "ID checked|unchecked|indeterminate enabled|disabled visible|hidden"
//   DlgCtl sysmenu TITLE COMMAND     chooses the system menu item with this command id
// Exit code 0 on success, 1 when the dialog or control is not there, 2 on a usage error.
// windows.h comes first; shellapi.h builds on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <cwchar>

namespace {

const wchar_t* g_title;
HWND g_found;

BOOL CALLBACK matchDialog(HWND window, LPARAM) {
  wchar_t cls[16] = {};
  wchar_t title[512] = {};
  GetClassNameW(window, cls, 16);
  GetWindowTextW(window, title, 512);
  if (std::wcscmp(cls, L"#32770") == 0 && std::wcscmp(title, g_title) == 0 && IsWindowVisible(window)) {
    g_found = window;
    return FALSE;
  }
  return TRUE;
}

HWND findDialog(const wchar_t* title) {
  g_title = title;
  g_found = nullptr;
  EnumWindows(matchDialog, 0);
  return g_found;
}

HWND waitFor(const wchar_t* title, int seconds, bool present) {
  for (int i = 0; i <= seconds * 10; ++i) {
    HWND dialog = findDialog(title);
    if ((dialog != nullptr) == present) return present ? dialog : HWND(1);
    Sleep(100);
  }
  return nullptr;
}

int printState(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) {
    std::printf("%d missing\n", id);
    return 1;
  }
  const LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
  std::printf("%d %s %s %s\n", id,
              check == BST_CHECKED         ? "checked"
              : check == BST_INDETERMINATE ? "indeterminate"
                                           : "unchecked",
              IsWindowEnabled(control) ? "enabled" : "disabled", IsWindowVisible(control) ? "visible" : "hidden");
  return 0;
}

int usage() {
  std::fputs(
      "usage: DlgCtl wait|gone TITLE [SECONDS] | click|where TITLE ID | state TITLE ID... | sysmenu TITLE COMMAND\n",
      stderr);
  return 2;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) return usage();
  const wchar_t* command = argv[1];
  const wchar_t* title = argv[2];
  if (std::wcscmp(command, L"wait") == 0 || std::wcscmp(command, L"gone") == 0) {
    const int seconds = argc > 3 ? _wtoi(argv[3]) : 10;
    const bool present = std::wcscmp(command, L"wait") == 0;
    if (waitFor(title, seconds, present) != nullptr) return 0;
    std::printf("%s\n", present ? "no such dialog" : "still open");
    return 1;
  }
  HWND dialog = waitFor(title, 10, true);
  if (dialog == nullptr) {
    std::printf("no such dialog\n");
    return 1;
  }
  if ((std::wcscmp(command, L"click") == 0 || std::wcscmp(command, L"where") == 0) && argc == 4) {
    HWND control = GetDlgItem(dialog, _wtoi(argv[3]));
    if (control == nullptr) {
      std::printf("no such control\n");
      return 1;
    }
    // A mouse cannot click what is disabled or hidden.
    if (!IsWindowEnabled(control) || !IsWindowVisible(control)) {
      std::printf("%s\n", IsWindowVisible(control) ? "disabled" : "hidden");
      return 1;
    }
    if (std::wcscmp(command, L"where") == 0) {
      RECT r{};
      GetWindowRect(control, &r);
      std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
      return 0;
    }
    // The click runs whatever the dialog does with it; long work goes on after we return.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &result);
    return 0;
  }
  if (std::wcscmp(command, L"state") == 0 && argc >= 4) {
    int status = 0;
    for (int i = 3; i < argc; ++i) status |= printState(dialog, _wtoi(argv[i]));
    return status;
  }
  if (std::wcscmp(command, L"sysmenu") == 0 && argc == 4) {
    PostMessageW(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(_wtoi(argv[3])), 0);
    return 0;
  }
  return usage();
}
