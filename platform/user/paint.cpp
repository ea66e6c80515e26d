// BeginPaint, EndPaint, GetDC, GetWindowDC, ReleaseDC and the default painting.
#include "user/paint.h"

#include <map>
#include <mutex>
#include <utility>

#include "gdi/surface_dc.h"
#include "user/screen_surface.h"
#include "user/update_region.h"
#include "user/window.h"
#include "user/window_scroll_bar.h"

namespace pda::user {
namespace {

// The screen area each open window context may have drawn on: reported as damage when the
// context goes. Contexts may be made on any thread, so the table has its own lock.
class OpenContexts {
 public:
  void Add(HDC dc, Region area) {
    std::lock_guard lock(mutex_);
    areas_.insert_or_assign(dc.value, std::move(area));
  }
  // Removes the context's entry; false when the context was not made here.
  bool Take(HDC dc, Region* area) {
    std::lock_guard lock(mutex_);
    auto it = areas_.find(dc.value);
    if (it == areas_.end()) return false;
    *area = std::move(it->second);
    areas_.erase(it);
    return true;
  }

 private:
  std::mutex mutex_;
  std::map<std::uint32_t, Region> areas_;
};
OpenContexts& Contexts() {
  static OpenContexts* const contexts = new OpenContexts;
  return *contexts;
}

// A context on the screen surface at `origin`, drawing only inside `clip` (screen coordinates).
HDC OpenScreenContext(POINT origin, Region clip) {
  const HDC dc = gdi::CreateSurfaceDC(ScreenPixels(), origin, &clip);
  if (!dc) return dc;
  BeginScreenDrawing();
  Contexts().Add(dc, std::move(clip));
  return dc;
}

// Deletes a context made here and reports what it drew: a context only asked about the screen
// (GetDC(NULL) for its capabilities, say) reports nothing.
bool CloseScreenContext(HDC dc) {
  Region area;
  if (!Contexts().Take(dc, &area)) return false;
  gdi::Box drawn;
  gdi::DeleteSurfaceDC(dc, &drawn);
  area.Intersect(drawn);
  EndScreenDrawing(area);
  return true;
}

struct Placement {
  POINT origin;
  Region visible;
};
std::optional<Placement> PlacementOf(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) return std::nullopt;
  return Placement{ScreenOriginLocked(*w), VisibleRegionLocked(*w)};
}

}  // namespace

void DefaultPaint(HWND window) {
  PAINTSTRUCT ps;
  if (BeginPaint(window, &ps)) EndPaint(window, &ps);
}

LRESULT EraseWithClassBrush(HWND window, HDC dc) {
  HBRUSH brush;
  RECT client;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w || !w->windowClass) return 0;
    brush = HBRUSH{w->windowClass->info.hbrBackground};
    client = ClientRectLocked(*w);
  }
  if (!brush) return 0;
  return FillRect(dc, &client, brush) ? 1 : 0;
}

}  // namespace pda::user

using namespace pda::user;  // NOLINT: the C surface below is a thin layer over this namespace

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  if (!paint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  *paint = PAINTSTRUCT{};
  std::optional<PaintArea> area = TakeUpdateRegion(window);
  if (!area) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  PaintVerticalBar(window);  // the frame before the client area
  const HDC dc = OpenScreenContext(area->origin, std::move(area->clip));
  if (!dc) return nullptr;
  paint->hdc = dc;
  paint->rcPaint = area->bounds;
  // fErase tells the window that the background is still to be erased.
  paint->fErase = FALSE;
  if (area->erase)
    paint->fErase = Notify(window, WM_ERASEBKGND, static_cast<WPARAM>(dc.value), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  return CloseScreenContext(paint->hdc) ? TRUE : FALSE;
}

HDC GetDC(HWND window) {
  if (!window) {
    const auto pixels = ScreenPixels();
    if (!pixels) return nullptr;
    return OpenScreenContext(POINT{0, 0}, Region(RECT{0, 0, pixels->width(), pixels->height()}));
  }
  std::optional<Placement> placement = PlacementOf(window);
  if (!placement) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return OpenScreenContext(placement->origin, std::move(placement->visible));
}

HDC GetWindowDC(HWND window) { return GetDC(window); }

int ReleaseDC(HWND, HDC dc) { return CloseScreenContext(dc) ? 1 : 0; }
