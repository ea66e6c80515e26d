// Visible regions, update regions and the WM_PAINT bookkeeping.
#include "user/update_region.h"

#include <algorithm>

#include "pda/testing/user.h"
#include "user/message_queue.h"
#include "user/messaging.h"

namespace pda::user {
namespace {

// The update region as it stands: within the client area and clipped to what is visible.
Region EffectiveUpdateLocked(const Window& w) {
  if (w.update.Empty()) return Region();
  Region visible = VisibleRegionLocked(w);
  const POINT origin = ScreenOriginLocked(w);
  visible.Translate(-origin.x, -origin.y);
  Region effective = w.update;
  effective.Intersect(visible);
  return effective;
}

// Adds a client-coordinate area to the update region and wakes the window's thread.
void AddUpdateLocked(Window& w, const Region& area, bool erase,
                     std::vector<std::shared_ptr<MessageQueue>>& toWake) {
  if (area.Empty()) return;
  w.update.Union(area);
  w.update.Intersect(gdi::BoxOf(ClientRectLocked(w)));
  w.erase = w.erase || erase;
  toWake.push_back(w.queue);
}

void WakeAll(std::vector<std::shared_ptr<MessageQueue>>& queues) {
  std::sort(queues.begin(), queues.end());
  queues.erase(std::unique(queues.begin(), queues.end()), queues.end());
  for (auto& q : queues) q->Wake();
}

void InvalidateAreaUnderLocked(HWND window, const Region& screenArea,
                               std::vector<std::shared_ptr<MessageQueue>>& toWake) {
  Window* w = FindLocked(window);
  if (!w || !IsShownLocked(*w)) return;
  // The children's areas too: a child may move away before the window paints, and the window
  // is clipped to what it shows only then.
  Region area = UncoveredRegionLocked(*w);
  area.Intersect(screenArea);
  const POINT origin = ScreenOriginLocked(*w);
  area.Translate(-origin.x, -origin.y);
  if (w->verticalBar) {
    Region bar = area;
    bar.Intersect(gdi::BoxOf(VerticalBarRectLocked(*w)));
    if (!bar.Empty()) {
      w->barDirty = true;
      toWake.push_back(w->queue);
    }
  }
  AddUpdateLocked(*w, area, true, toWake);
  for (HWND child : w->children) InvalidateAreaUnderLocked(child, screenArea, toWake);
}

bool FindPaintLocked(HWND window, const MessageQueue& queue, const MessageFilter& filter,
                     HWND* found) {
  Window* w = FindLocked(window);
  if (!w || !IsShownLocked(*w)) return false;
  if (w->queue.get() == &queue && filter.AcceptsWindow(window) && w->barDirty) {
    *found = window;
    return true;
  }
  if (w->queue.get() == &queue && filter.AcceptsWindow(window) && !w->update.Empty()) {
    if (!EffectiveUpdateLocked(*w).Empty()) {
      *found = window;
      return true;
    }
    w->update.Clear();  // everything it held is covered now
  }
  for (HWND child : w->children)
    if (FindPaintLocked(child, queue, filter, found)) return true;
  return false;
}

}  // namespace

Region VisibleRegionLocked(const Window& window) {
  Region visible = UncoveredRegionLocked(window);
  for (HWND child : window.children)
    if (Window* c = FindLocked(child); c && (c->style & WS_VISIBLE))
      visible.Subtract(Region(ScreenRectLocked(*c)));
  return visible;
}

Region UncoveredRegionLocked(const Window& window) {
  if (!IsShownLocked(window)) return Region();
  Region visible(ScreenRectLocked(window));
  for (const Window* node = &window; node; node = FindLocked(node->parent)) {
    if (node != &window) visible.Intersect(gdi::BoxOf(ScreenClientRectLocked(*node)));
    // Siblings above this node hide it.
    for (HWND sibling : SiblingsLocked(*node)) {
      if (sibling == node->handle) break;
      if (Window* s = FindLocked(sibling); s && (s->style & WS_VISIBLE))
        visible.Subtract(Region(ScreenRectLocked(*s)));
    }
  }
  return visible;
}

Region VisibleRegion(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  return w ? VisibleRegionLocked(*w) : Region();
}

void InvalidateScreenArea(const RECT& screenArea) {
  std::vector<std::shared_ptr<MessageQueue>> toWake;
  {
    auto lock = TreeLock();
    const Region area(screenArea);
    for (HWND top : TopLevelLocked()) InvalidateAreaUnderLocked(top, area, toWake);
  }
  WakeAll(toWake);
}

void InvalidateTree(HWND window) {
  std::vector<std::shared_ptr<MessageQueue>> toWake;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) return;
    InvalidateAreaUnderLocked(window, Region(ScreenRectLocked(*w)), toWake);
  }
  WakeAll(toWake);
}

std::optional<PaintArea> TakeUpdateRegion(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) return std::nullopt;
  PaintArea paint{ScreenOriginLocked(*w), EffectiveUpdateLocked(*w), RECT{}, w->erase};
  paint.bounds = gdi::RectOf(paint.clip.Extents());
  paint.clip.Translate(paint.origin.x, paint.origin.y);
  w->update.Clear();
  w->erase = false;
  w->barDirty = false;
  return paint;
}

HWND FindWindowToPaint(const MessageQueue& queue, const MessageFilter& filter) {
  auto lock = TreeLock();
  HWND found;
  for (HWND top : TopLevelLocked())
    if (FindPaintLocked(top, queue, filter, &found)) return found;
  return HWND{};
}

}  // namespace pda::user

namespace pda::testing {

std::vector<RECT> VisibleRects(HWND window) { return user::VisibleRegion(window).Rects(); }

}  // namespace pda::testing

using namespace pda::user;

BOOL InvalidateRect(HWND window, LPCRECT rect, BOOL erase) {
  if (!window) {
    const auto screen = GetSystemMetrics(SM_CXSCREEN);
    InvalidateScreenArea(RECT{0, 0, screen, GetSystemMetrics(SM_CYSCREEN)});
    return TRUE;
  }
  std::vector<std::shared_ptr<MessageQueue>> toWake;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    Region area(ClientRectLocked(*w));
    if (rect) area.Intersect(pda::gdi::BoxOf(*rect));
    AddUpdateLocked(*w, area, erase != FALSE, toWake);
  }
  WakeAll(toWake);
  return TRUE;
}

BOOL ValidateRect(HWND window, LPCRECT rect) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (rect)
    w->update.Subtract(Region(*rect));
  else
    w->update.Clear();
  if (w->update.Empty()) w->erase = false;
  return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const Region effective = EffectiveUpdateLocked(*w);
  if (rect) *rect = pda::gdi::RectOf(effective.Extents());
  return effective.Empty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND window) {
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (GetUpdateRect(window, nullptr, FALSE)) SendMessageW(window, WM_PAINT, 0, 0);
  return TRUE;
}
