// Hit testing on the window tree, the capture, and posting of stylus and key messages.
#include "user/input_router.h"

#include "user/capture.h"
#include "user/message_queue.h"
#include "user/window.h"
#include "user/window_scroll_bar.h"

namespace pda::user {
namespace {

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The deepest shown window at `screen` among `candidates` (topmost first) and their children.
Window* DeepestLocked(const std::vector<HWND>& candidates, POINT screen) {
  for (HWND h : candidates) {
    Window* w = FindLocked(h);
    if (!w || w->destroying || !(w->style & WS_VISIBLE)) continue;
    if (!Contains(ScreenRectLocked(*w), screen)) continue;
    // Children live inside the client area; beside it (on the scroll bar) the window is hit.
    Window* inner = Contains(ScreenClientRectLocked(*w), screen)
                        ? DeepestLocked(w->children, screen)
                        : nullptr;
    return inner ? inner : w;
  }
  return nullptr;
}

bool EnabledWithAncestorsLocked(const Window* w) {
  for (; w; w = FindLocked(w->parent))
    if (w->style & WS_DISABLED) return false;
  return true;
}

// The capture window, with the point in its client coordinates; a null window when none.
Hit CaptureTarget(POINT screen) {
  auto lock = TreeLock();
  const HWND holder = CaptureLocked();
  Window* w = FindLocked(holder);
  if (!w) return Hit{HWND{}, POINT{0, 0}};
  const POINT origin = ScreenOriginLocked(*w);
  return Hit{holder, POINT{screen.x - origin.x, screen.y - origin.y}};
}

void PostStylus(UINT message, POINT screen, WPARAM buttons) {
  Hit hit = CaptureTarget(screen);
  if (!hit.window) hit = WindowUnderPoint(screen);
  if (!hit.window) return;
  PostMessageW(hit.window, message, buttons,
               MAKELPARAM(static_cast<WORD>(hit.client.x), static_cast<WORD>(hit.client.y)));
}

}  // namespace

Hit WindowUnderPoint(POINT screen) {
  auto lock = TreeLock();
  Window* w = DeepestLocked(TopLevelLocked(), screen);
  if (!w || !EnabledWithAncestorsLocked(w)) return Hit{HWND{}, POINT{0, 0}};
  const POINT origin = ScreenOriginLocked(*w);
  return Hit{w->handle, POINT{screen.x - origin.x, screen.y - origin.y}};
}

WPARAM StylusRouter::Buttons() const { return MK_LBUTTON | (secondary_ ? MK_RBUTTON : 0); }

void StylusRouter::Down(POINT screen, bool secondary) {
  down_ = true;
  secondary_ = secondary;
  // On a window's scroll bar (and nothing holds the capture): the window manager's part.
  if (!GetCapture())
    if (const HWND bar = VerticalBarAt(screen)) {
      PostMessageW(bar, WM_NCLBUTTONDOWN, HTVSCROLL,
                   MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
      return;
    }
  PostStylus(WM_LBUTTONDOWN, screen, Buttons());
}

void StylusRouter::Move(POINT screen) {
  if (down_) PostStylus(WM_MOUSEMOVE, screen, Buttons());
}

void StylusRouter::Up(POINT screen) {
  if (!down_) return;
  down_ = false;
  secondary_ = false;
  PostStylus(WM_LBUTTONUP, screen, 0);
}

HWND KeyTarget() {
  const HWND focus = GetFocus();
  return focus ? focus : GetForegroundWindow();
}

bool PostKey(int virtualKey, bool down) {
  const HWND target = KeyTarget();
  if (!target) return false;
  // Repeat count 1; a release also carries the previous-state and transition bits.
  const LPARAM lParam = down ? 1 : static_cast<LPARAM>(0xC0000001u);
  return PostMessageW(target, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(virtualKey),
                      lParam) != FALSE;
}

DWORD UiThread() {
  const HWND foreground = GetForegroundWindow();
  auto lock = TreeLock();
  if (Window* w = FindLocked(foreground); w && w->queue) return w->queue->ThreadId();
  for (HWND h : TopLevelLocked())
    if (Window* w = FindLocked(h); w && w->queue) return w->queue->ThreadId();
  return 0;
}

}  // namespace pda::user
