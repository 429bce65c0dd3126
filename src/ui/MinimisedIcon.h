// How a minimised dialog of the program draws itself: its icon, centred in the client area.
#pragma once
#include "../platform/Platform.h"

namespace tvx {

struct IconPosition {
  int x;
  int y;
};
IconPosition centredIconPosition(const RECT& client, int iconWidth, int iconHeight);

// Paints the minimised dialog as its icon; false when the dialog is not minimised, and the
// system then paints it as usual.
bool PaintMinimisedIcon(const Platform& platform, HWND dialog, HICON icon);

}  // namespace tvx
