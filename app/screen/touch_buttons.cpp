#include "screen/touch_buttons.h"

#include <cstring>

#include "geonotes/geonotes_window.h"
#include "screen/main_screen.h"
#include "sharing/clipboard.h"
#include "sharing/send_location.h"

namespace {

using ButtonAction = void (*)(HWND owner);

// One action per button, left to right.
constexpr ButtonAction kButtonActions[kButtonCount] = {
    [](HWND) { SendLocationEmail(); },
    [](HWND) { SendLocationSms(); },
    [](HWND) { OpenGeoNotes(); },
    CopyLocationToClipboard,
};

bool Hit(int k, int x, int y) {
  return g_ButtonImage[k].hrgn && PtInRegion(g_ButtonImage[k].hrgn, x, y);
}

void PressUnderStylus(int x, int y) {
  for (int k = 0; k < kButtonCount; ++k) {
    if (Hit(k, x, y)) g_Pressed[k] = 1;
  }
}

}  // namespace

LRESULT OnStylus(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  const int x = static_cast<WORD>(lParam & 0xFFFF);
  const int y = static_cast<WORD>((lParam >> 16) & 0xFFFF);
  if (g_ButtonsEnabled == 1) {
    switch (message) {
      case WM_MOUSEMOVE:
        std::memset(g_Pressed, 0, sizeof g_Pressed);
        PressUnderStylus(x, y);
        break;
      case WM_LBUTTONDOWN:
        PressUnderStylus(x, y);
        break;
      case WM_LBUTTONUP:
        for (int k = 0; k < kButtonCount; ++k) {
          if (Hit(k, x, y) && kButtonActions[k]) kButtonActions[k](hwnd);
        }
        std::memset(g_Pressed, 0, sizeof g_Pressed);
        break;
    }
  }
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  return 0;
}
