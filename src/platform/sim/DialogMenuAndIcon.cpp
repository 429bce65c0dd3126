// The system menu of a running dialog, the program's strings and icons, and the painting of a
// minimised dialog.
#include <algorithm>

#include "DialogUnits.h"
#include "SimPlatform.h"

namespace tvx::sim {

namespace {

constexpr std::uintptr_t kIconBase = 0x60000000;
HDC const kPaintDc = reinterpret_cast<HDC>(std::uintptr_t{0x70000000});

}  // namespace

BOOL Dialogs::IsIconic(HWND window) {
  Running* d = dialogOf(window);
  return d != nullptr && d->iconic ? TRUE : FALSE;
}

HMENU Dialogs::GetSystemMenu(HWND window, BOOL) {
  if (m_.injectFault("GetSystemMenu")) return nullptr;
  Running* d = dialogOf(window);
  return d != nullptr ? d->systemMenu : nullptr;
}

BOOL Dialogs::AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  if (m_.injectFault("AppendMenuA")) return FALSE;
  for (const auto& d : running_) {
    if (d->systemMenu == nullptr || d->systemMenu != menu) continue;
    d->menuIds.emplace_back(flags, id);
    d->menuItems.push_back((flags & MF_SEPARATOR) != 0 ? std::string("separator")
                                                       : std::string(text != nullptr ? text : ""));
    return TRUE;
  }
  return FALSE;
}

int Dialogs::LoadStringA(UINT id, LPSTR buffer, int size) {
  if (m_.injectFault("LoadStringA")) return 0;
  if (buffer == nullptr || size <= 0) return 0;
  const auto text = findString(resources_, id, m_.language);
  const std::string utf8 = text ? utf16ToUtf8(*text) : std::string();
  const std::size_t n = std::min(utf8.size(), static_cast<std::size_t>(size - 1));
  utf8.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

HICON Dialogs::LoadIconA(int id) {
  if (m_.injectFault("LoadIconA")) return nullptr;
  if (findResource(resources_, RT_GROUP_ICON_ID, static_cast<WORD>(id), m_.language) == nullptr) return nullptr;
  return reinterpret_cast<HICON>(kIconBase + static_cast<std::uintptr_t>(id));
}

BOOL Dialogs::GetClientRect(HWND window, RECT* rect) {
  if (m_.injectFault("GetClientRect")) return FALSE;
  Running* d = dialogOf(window);
  if (d == nullptr || rect == nullptr) return FALSE;
  const DialogBaseUnits units = dialogBaseUnits(d->t.pointSize);
  *rect = RECT{0, 0, static_cast<LONG>(dialogUnitsToPixelsX(d->t.cx, units)),
               static_cast<LONG>(dialogUnitsToPixelsY(d->t.cy, units))};
  return TRUE;
}

int Dialogs::GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

HDC Dialogs::BeginPaint(HWND window, PAINTSTRUCT* paint) {
  if (m_.injectFault("BeginPaint")) return nullptr;
  if (dialogOf(window) == nullptr || paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  paint->hdc = kPaintDc;
  return kPaintDc;
}

BOOL Dialogs::EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

BOOL Dialogs::DrawIcon(HDC dc, int x, int y, HICON icon) {
  if (m_.injectFault("DrawIcon")) return FALSE;
  Running* d = top();
  if (dc != kPaintDc || d == nullptr || icon == nullptr) return FALSE;
  m_.record("icon drawn", {{"dialog", name(*d)}, {"x", std::to_string(x)}, {"y", std::to_string(y)}});
  return TRUE;
}

}  // namespace tvx::sim
