// The vertical scroll bar of a WS_VSCROLL window (see window_scroll_bar.h): SetScrollInfo and
// GetScrollInfo, the bar's parts (an arrow at each end, the track between, the thumb on it), its
// drawing through the look, and the stylus on it.
//
// Sections: values | parts | drawing | the stylus | the C surface
#include "user/window_scroll_bar.h"

#include <algorithm>
#include <optional>

#include "look/look.h"
#include "look/scroll_bar.h"
#include "pda/owners.h"
#include "user/input_router.h"
#include "user/window.h"

namespace pda::user {
namespace {

// ---- values --------------------------------------------------------------------------------
int Total(const ScrollRange& r) { return std::max(r.max - r.min + 1, 0); }
int LastPosition(const ScrollRange& r) { return std::max(r.max - std::max(r.page - 1, 0), r.min); }

void Clamp(ScrollRange& r) {
  r.page = std::clamp(r.page, 0, Total(r));
  r.position = std::clamp(r.position, r.min, LastPosition(r));
  if (!r.tracking) r.trackPosition = r.position;
}

// ---- parts ---------------------------------------------------------------------------------
struct Parts {
  RECT up;
  RECT down;
  look::ScrollBarGeometry track;  // between the arrows
};

Parts PartsOf(const RECT& bar, const ScrollRange& r) {
  const int side = std::min<int>(bar.right - bar.left, (bar.bottom - bar.top) / 2);
  const RECT up{bar.left, bar.top, bar.right, bar.top + side};
  const RECT down{bar.left, bar.bottom - side, bar.right, bar.bottom};
  const RECT track{bar.left, up.bottom, bar.right, down.top};
  const int shown = r.tracking ? r.trackPosition : r.position;
  return Parts{up, down,
               look::VerticalScrollBar(track, Total(r), r.page, shown - r.min,
                                       bar.right - bar.left)};
}

struct BarView {
  RECT bar;  // client coordinates
  ScrollRange range;
};
std::optional<BarView> ViewOf(HWND window) {
  auto lock = TreeLock();
  const Window* w = FindLocked(window);
  if (!w || !w->verticalBar) return std::nullopt;
  return BarView{VerticalBarRectLocked(*w), w->vertical};
}

bool Inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// ---- drawing -------------------------------------------------------------------------------
void PaintArrow(HDC dc, const RECT& rect, bool up, bool enabled) {
  const int edge = std::max(1, (rect.right - rect.left) / 13);
  const COLORREF ink = look::ButtonFace(
      dc, rect, enabled ? look::FaceState::Normal : look::FaceState::Disabled, false, edge);
  look::Arrow(dc, rect, up, ink);
}

// ---- the stylus ----------------------------------------------------------------------------
void Request(HWND window, WORD code, int position = 0) {
  SendMessageW(window, WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
}

// Where the thumb's top at `top` puts the position.
int PositionForThumb(const Parts& parts, const ScrollRange& r, int top) {
  const RECT& track = parts.track.track;
  const int travel = (track.bottom - track.top) - (parts.track.thumb.bottom - parts.track.thumb.top);
  const int range = Total(r) - r.page;
  if (travel <= 0 || range <= 0) return r.min;
  const int offset = std::clamp(top - static_cast<int>(track.top), 0, travel);
  return std::clamp(r.min + MulDiv(offset, range, travel), r.min, LastPosition(r));
}

void SetTracking(HWND window, bool tracking, int position) {
  auto lock = TreeLock();
  if (Window* w = FindLocked(window)) {
    w->vertical.tracking = tracking;
    w->vertical.trackPosition = tracking ? position : w->vertical.position;
  }
}

// Follows a thumb drag until the lift: SB_THUMBTRACK on each move that changes the place, then
// SB_THUMBPOSITION. The loop dispatches everything else as the application's loop would.
void DragThumb(HWND window, int grab) {
  MSG msg;
  while (GetCapture() == window) {
    const BOOL got = GetMessageW(&msg, HWND{}, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      break;
    }
    if (got < 0) break;
    const bool stylus = msg.hwnd == window &&
                        (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP);
    if (!stylus) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    const auto view = ViewOf(window);
    if (!view) break;
    const POINT p{static_cast<SHORT>(LOWORD(static_cast<WPARAM>(msg.lParam))),
                  static_cast<SHORT>(HIWORD(static_cast<WPARAM>(msg.lParam)))};
    const int position = PositionForThumb(PartsOf(view->bar, view->range), view->range, p.y - grab);
    if (msg.message == WM_LBUTTONUP) {
      Request(window, SB_THUMBPOSITION, position);
      break;
    }
    if (position != view->range.trackPosition) {
      SetTracking(window, true, position);
      PaintVerticalBar(window);
      Request(window, SB_THUMBTRACK, position);
    }
  }
}

// Waits for the lift of a press on an arrow or the track, dispatching the rest meanwhile.
void WaitForLift(HWND window) {
  MSG msg;
  while (GetCapture() == window) {
    const BOOL got = GetMessageW(&msg, HWND{}, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.hwnd == window && msg.message == WM_LBUTTONUP) break;
    if (msg.hwnd == window && msg.message == WM_MOUSEMOVE) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void PaintVerticalBar(HWND window) {
  const auto view = ViewOf(window);
  if (!view || view->bar.right <= view->bar.left) return;
  const ScopedWindowDC dc(window);
  if (!dc.get()) return;
  const Parts parts = PartsOf(view->bar, view->range);
  const bool enabled = parts.track.enabled && IsWindowEnabled(window);
  PaintArrow(dc.get(), parts.up, true, enabled);
  PaintArrow(dc.get(), parts.down, false, enabled);
  look::PaintScrollBar(dc.get(), parts.track, enabled);
}

void TrackVerticalBar(HWND window, POINT screen) {
  const auto view = ViewOf(window);
  if (!view || !IsWindowEnabled(window)) return;
  POINT p = screen;
  ScreenToClient(window, &p);
  const Parts parts = PartsOf(view->bar, view->range);
  SetCapture(window);
  if (Inside(parts.up, p)) {
    Request(window, SB_LINEUP);
    WaitForLift(window);
  } else if (Inside(parts.down, p)) {
    Request(window, SB_LINEDOWN);
    WaitForLift(window);
  } else if (parts.track.enabled && Inside(parts.track.thumb, p)) {
    SetTracking(window, true, view->range.position);
    DragThumb(window, p.y - parts.track.thumb.top);
  } else if (parts.track.enabled && Inside(parts.track.track, p)) {
    Request(window, p.y < parts.track.thumb.top ? SB_PAGEUP : SB_PAGEDOWN);
    WaitForLift(window);
  } else {
    WaitForLift(window);
  }
  if (GetCapture() == window) ReleaseCapture();
  SetTracking(window, false, 0);
  Request(window, SB_ENDSCROLL);
  PaintVerticalBar(window);
}

HWND VerticalBarAt(POINT screen) {
  const Hit hit = WindowUnderPoint(screen);
  auto lock = TreeLock();
  const Window* w = FindLocked(hit.window);
  if (!w || !w->verticalBar || !Inside(VerticalBarRectLocked(*w), hit.client)) return HWND{};
  return hit.window;
}

}  // namespace pda::user

// ---- the C surface -------------------------------------------------------------------------
using namespace pda::user;  // NOLINT: the C surface below is a thin layer over this namespace

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (!info || bar != SB_VERT || info->cbSize != sizeof(SCROLLINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int position;
  std::optional<bool> showBar;  // the bar appears or goes with the new values
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    ScrollRange& r = w->vertical;
    const ScrollRange before = r;
    if (info->fMask & SIF_RANGE) {
      r.min = info->nMin;
      r.max = std::max(info->nMax, info->nMin);
    }
    if (info->fMask & SIF_PAGE) r.page = static_cast<int>(std::min<UINT>(info->nPage, 0x7FFFFFFF));
    if (info->fMask & SIF_POS) r.position = info->nPos;
    Clamp(r);
    r.set = true;
    position = r.position;
    const bool extentChanged = r.min != before.min || r.max != before.max || r.page != before.page;
    const bool hasBar = (w->style & WS_VSCROLL) != 0;
    if (LastPosition(r) <= r.min) {
      if (hasBar && extentChanged && !(info->fMask & SIF_DISABLENOSCROLL)) showBar = false;
    } else if (!hasBar && extentChanged && info->fMask != SIF_PAGE) {
      showBar = true;
    }
  }
  if (showBar) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, *showBar ? style | static_cast<LONG>(WS_VSCROLL)
                                               : style & ~static_cast<LONG>(WS_VSCROLL));
    SetWindowPos(window, HWND{}, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else if (redraw) {
    PaintVerticalBar(window);
  }
  return position;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  if (!info || bar != SB_VERT || info->cbSize != sizeof(SCROLLINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = TreeLock();
  const Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(w->style & WS_VSCROLL) && !w->vertical.set) return FALSE;
  const ScrollRange& r = w->vertical;
  if (info->fMask & SIF_RANGE) {
    info->nMin = r.min;
    info->nMax = r.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(r.page);
  if (info->fMask & SIF_POS) info->nPos = r.position;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = r.tracking ? r.trackPosition : r.position;
  return TRUE;
}
