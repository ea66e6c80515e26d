// ScrollWindowEx: the client area's content moves by dx, dy; child windows move with it when
// asked. The content is painted again rather than copied on the screen: the window's own
// painting is the one source of its pixels.
#include <algorithm>
#include <vector>

#include "pda/gdi.h"
#include "user/window.h"

namespace {

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

using namespace pda::user;  // NOLINT: the C surface below is a thin layer over this namespace

int ScrollWindowEx(HWND window, int dx, int dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                   LPRECT updateRect, UINT flags) {
  if (update) {  // not kept by this platform
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  struct Move {
    HWND child;
    RECT rect;
  };
  std::vector<Move> moves;
  RECT client{};
  {
    auto lock = TreeLock();
    const Window* w = FindLocked(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return ERROR;
    }
    client = ClientRectLocked(*w);
    if (flags & SW_SCROLLCHILDREN)
      for (HWND child : w->children)
        if (const Window* c = FindLocked(child); c && (!scroll || Meets(c->rect, *scroll)))
          moves.push_back({child, c->rect});
  }
  for (const Move& m : moves)
    SetWindowPos(m.child, HWND{}, m.rect.left + dx, m.rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // each repainted where it went
  RECT painted = client;
  if (clip)
    painted = RECT{std::max(client.left, clip->left), std::max(client.top, clip->top),
                   std::min(client.right, clip->right), std::min(client.bottom, clip->bottom)};
  if (updateRect) *updateRect = (dx || dy) ? painted : RECT{};
  if (!dx && !dy) return NULLREGION;
  if (flags & SW_INVALIDATE) InvalidateRect(window, &painted, (flags & SW_ERASE) ? TRUE : FALSE);
  return SIMPLEREGION;
}
