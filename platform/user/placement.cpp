// Where windows are: default placement, SetWindowPos and MoveWindow, rectangles and the mapping
// of points between windows and the screen.
#include <algorithm>

#include "display/display.h"
#include "user/activation.h"
#include "user/placement.h"
#include "user/update_region.h"
#include "user/window.h"

namespace pda::user {

RECT DefaultTopLevelRect() {
  const auto screen = display::CurrentScreen();
  const int bar = display::BarHeight();
  return RECT{0, bar, screen.width, std::max(screen.height, bar)};
}

BOOL PlaceWindow(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  RECT before{};
  RECT after{};
  RECT clientBefore{};
  RECT clientAfter{};
  RECT uncovered{};
  bool wasShown = false;
  bool reordered = false;
  bool topLevel = false;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    before = after = w->rect;
    clientBefore = ClientRectLocked(*w);
    uncovered = ScreenRectLocked(*w);
    wasShown = IsShownLocked(*w);
    topLevel = !w->parent;
    if (!(flags & SWP_NOMOVE)) {
      after.right = x + (after.right - after.left);
      after.bottom = y + (after.bottom - after.top);
      after.left = x;
      after.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
      after.right = after.left + std::max(width, 0);
      after.bottom = after.top + std::max(height, 0);
    }
    w->rect = after;
    // The frame (the scroll bar beside the client area) follows the style only when asked.
    if (flags & SWP_FRAMECHANGED) {
      w->verticalBar = WantsVerticalBarLocked(*w);
      w->barDirty = w->verticalBar;
    }
    clientAfter = ClientRectLocked(*w);
    if (!(flags & SWP_NOZORDER)) {
      auto& siblings = SiblingsLocked(*w);
      const auto order = siblings;
      siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
      auto at = siblings.begin();
      if (insertAfter == HWND_BOTTOM)
        at = siblings.end();
      else if (insertAfter != HWND_TOP)
        if (auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
            it != siblings.end())
          at = it + 1;
      siblings.insert(at, window);
      reordered = siblings != order;
    }
  }
  const bool moved = before.left != after.left || before.top != after.top;
  const bool sized = before.right - before.left != after.right - after.left ||
                     before.bottom - before.top != after.bottom - after.top;
  const bool clientSized = clientBefore.right != clientAfter.right ||
                           clientBefore.bottom != clientAfter.bottom;
  if (sized || clientSized)
    Notify(window, WM_SIZE, SIZE_RESTORED,
           MAKELPARAM(static_cast<WORD>(clientAfter.right), static_cast<WORD>(clientAfter.bottom)));
  if (moved)
    Notify(window, WM_MOVE, 0,
           MAKELPARAM(static_cast<WORD>(after.left), static_cast<WORD>(after.top)));
  if ((moved || sized || clientSized || reordered) && !(flags & SWP_NOREDRAW)) {
    if (wasShown) InvalidateScreenArea(uncovered);
    InvalidateTree(window);
  }
  if (flags & SWP_SHOWWINDOW) ChangeVisibility(window, true, false);
  if (flags & SWP_HIDEWINDOW) ChangeVisibility(window, false, false);
  if (topLevel && !(flags & SWP_NOACTIVATE) && !(flags & SWP_HIDEWINDOW) && IsWindowVisible(window))
    Activate(window);
  return TRUE;
}

}  // namespace pda::user

using namespace pda::user;

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  return PlaceWindow(window, insertAfter, x, y, width, height, flags);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return PlaceWindow(window, HWND_TOP, x, y, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND window) {
  return PlaceWindow(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w || !rect) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = ScreenRectLocked(*w);
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w || !rect) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = ClientRectLocked(*w);
  return TRUE;
}

namespace {

// The client origin of a window on the screen; the screen's own for null.
bool OriginOf(HWND window, POINT* origin) {
  if (!window) {
    *origin = POINT{0, 0};
    return true;
  }
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) return false;
  *origin = ScreenOriginLocked(*w);
  return true;
}

}  // namespace

BOOL ClientToScreen(HWND window, LPPOINT point) {
  POINT origin;
  if (!window || !point || !OriginOf(window, &origin)) return FALSE;
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  POINT origin;
  if (!window || !point || !OriginOf(window, &origin)) return FALSE;
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a;
  POINT b;
  if (!OriginOf(from, &a) || !OriginOf(to, &b)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const LONG dx = a.x - b.x;
  const LONG dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return static_cast<int>(static_cast<DWORD>(static_cast<WORD>(dx)) |
                          (static_cast<DWORD>(static_cast<WORD>(dy)) << 16));
}
