// Visible and enabled state: ShowWindow, IsWindowVisible, EnableWindow.
#include "user/activation.h"
#include "user/capture.h"
#include "user/placement.h"
#include "user/screen_surface.h"
#include "user/update_region.h"
#include "user/window.h"

namespace pda::user {

bool ChangeVisibility(HWND window, bool show, bool sendShowWindow) {
  RECT screenRect{};
  bool wasShown;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) return false;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (wasVisible == show) return wasVisible;
    screenRect = ScreenRectLocked(*w);
    wasShown = IsShownLocked(*w);
  }
  if (sendShowWindow) Notify(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  HWND parent;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) return !show;
    if (show)
      w->style |= WS_VISIBLE;
    else
      w->style &= ~WS_VISIBLE;
    parent = w->parent;
  }
  if (show) {
    if (!parent) TellHostShown(window);  // before the paint, so that the host has a window to show it
    InvalidateTree(window);
  } else {
    if (wasShown) InvalidateScreenArea(screenRect);
    Deactivate(window, parent);
    EndCaptureWithin(window);
  }
  return !show;
}

}  // namespace pda::user

using namespace pda::user;

BOOL ShowWindow(HWND window, int command) {
  bool topLevel;
  bool enabled;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    topLevel = !w->parent;
    enabled = !(w->style & WS_DISABLED);
  }
  const bool show = command != SW_HIDE;
  const bool wasVisible = ChangeVisibility(window, show, true);
  if (show && topLevel && enabled && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE)
    Activate(window);
  return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  return w && IsShownLocked(*w) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  bool wasDisabled;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
    if (enable)
      w->style &= ~WS_DISABLED;
    else
      w->style |= WS_DISABLED;
  }
  if (!enable) {
    // A disabled window cannot keep the keyboard.
    const HWND focus = GetFocus();
    if (focus == window || IsChild(window, focus)) SetFocus(HWND{});
  }
  Notify(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  InvalidateTree(window);
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}
