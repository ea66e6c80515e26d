// Stylus capture: SetCapture, ReleaseCapture, GetCapture, and the capture's end when its window
// is destroyed or hidden. The stylus router (input_router.cpp) asks CaptureTargetLocked.
#include "user/capture.h"

#include <utility>

#include "user/window.h"

namespace pda::user {
namespace {

HWND g_capture;  // guarded by the tree lock

LPARAM AsParam(HWND window) { return static_cast<LPARAM>(window.value); }

}  // namespace

HWND CaptureLocked() {
  if (g_capture && !FindLocked(g_capture)) g_capture = HWND{};  // gone without DestroyWindow
  return g_capture;
}

void EndCaptureWithin(HWND window) {
  HWND old;
  {
    auto lock = TreeLock();
    const HWND holder = CaptureLocked();
    if (!holder || (holder != window && !IsDescendantLocked(window, holder))) return;
    old = std::exchange(g_capture, HWND{});
  }
  Notify(old, WM_CAPTURECHANGED, 0, 0);
}

}  // namespace pda::user

using namespace pda::user;

HWND SetCapture(HWND window) {
  HWND old;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w || w->destroying) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return HWND{};
    }
    old = CaptureLocked();
    g_capture = window;
  }
  if (old && old != window) Notify(old, WM_CAPTURECHANGED, 0, AsParam(window));
  return old;
}

BOOL ReleaseCapture() {
  HWND old;
  {
    auto lock = TreeLock();
    old = CaptureLocked();
    g_capture = HWND{};
  }
  if (old) Notify(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  auto lock = TreeLock();
  return CaptureLocked();
}
