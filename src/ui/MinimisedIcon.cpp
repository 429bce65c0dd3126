#include "MinimisedIcon.h"

namespace tvx {

IconPosition centredIconPosition(const RECT& client, int iconWidth, int iconHeight) {
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  return IconPosition{(width - iconWidth + 1) / 2, (height - iconHeight + 1) / 2};
}

bool PaintMinimisedIcon(const Platform& platform, HWND dialog, HICON icon) {
  IDialogs& dialogs = platform.dialogs;
  if (!dialogs.IsIconic(dialog)) return false;
  PAINTSTRUCT paint{};
  HDC dc = dialogs.BeginPaint(dialog, &paint);
  platform.windows.SendMessageA(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  dialogs.GetClientRect(dialog, &client);
  const IconPosition at =
      centredIconPosition(client, dialogs.GetSystemMetrics(SM_CXICON), dialogs.GetSystemMetrics(SM_CYICON));
  dialogs.DrawIcon(dc, at.x, at.y, icon);
  dialogs.EndPaint(dialog, &paint);
  return true;
}

}  // namespace tvx
