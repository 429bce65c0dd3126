// Entry point of Setup.exe on Windows.
#include "../platform/win32/Win32Platform.h"
#include "CSetupApp.h"

namespace {
tvx::win32::Machine g_windows;
tvx::CSetupApp theApp(g_windows.platform());
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return theApp.Run(); }
