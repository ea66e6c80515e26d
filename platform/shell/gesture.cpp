// SHRecognizeGesture: deciding, from inside a window's WM_LBUTTONDOWN, whether the press is a
// tap-and-hold. The thread's other messages are handled meanwhile; the stylus messages that
// decide it (a lift, a move beyond the tolerance, another press) are only looked at, so that they
// still reach the window afterwards. Moves within the tolerance are dispatched as they come.
//
// The hold is timed by a thread timer, so it runs on the window manager's clock (the manual clock
// in tests). A press made with a mouse's secondary button (VK_RBUTTON down, see
// user/input_router.h) is a tap-and-hold at once.
#include <algorithm>
#include <cstdlib>

#include "pda/shell.h"
#include "shell/shell_metrics.h"

namespace pda::shell {
namespace {

constexpr UINT kHoldMilliseconds = 500;
constexpr int kToleranceAt96 = 5;  // pixels the stylus may wander and still be held still

// A thread timer for the life of the wait.
class HoldTimer {
 public:
  explicit HoldTimer(UINT milliseconds) : id_(SetTimer(HWND{}, 0, milliseconds, nullptr)) {}
  HoldTimer(const HoldTimer&) = delete;
  HoldTimer& operator=(const HoldTimer&) = delete;
  ~HoldTimer() {
    if (id_) KillTimer(HWND{}, id_);
  }
  UINT_PTR id() const { return id_; }

 private:
  UINT_PTR id_;
};

enum class Outcome { Waiting, Held, NoGesture };

// A stylus message at the front of the queue: what it means for the press at `down` (screen
// coordinates). A move within the tolerance is taken and dispatched; the others stay queued.
Outcome LookAtStylus(POINT down, int tolerance) {
  MSG msg;
  if (!PeekMessageW(&msg, HWND{}, WM_MOUSEMOVE, WM_LBUTTONDBLCLK, PM_NOREMOVE))
    return Outcome::Waiting;
  if (msg.message != WM_MOUSEMOVE) return Outcome::NoGesture;  // lifted, or pressed again
  POINT at{static_cast<SHORT>(LOWORD(static_cast<WPARAM>(msg.lParam))),
           static_cast<SHORT>(HIWORD(static_cast<WPARAM>(msg.lParam)))};
  ClientToScreen(msg.hwnd, &at);
  if (std::abs(at.x - down.x) > tolerance || std::abs(at.y - down.y) > tolerance)
    return Outcome::NoGesture;
  PeekMessageW(&msg, HWND{}, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
  DispatchMessageW(&msg);
  return Outcome::Waiting;
}

// Handles one message other than the stylus's, if there is one; Held when it is the hold timer.
// Sets `quit` when WM_QUIT came (it is posted again for the application's loop).
Outcome HandleOther(UINT_PTR timer, bool& quit) {
  MSG msg;
  const bool got = PeekMessageW(&msg, HWND{}, 0, WM_MOUSEMOVE - 1, PM_REMOVE) ||
                   PeekMessageW(&msg, HWND{}, WM_LBUTTONDBLCLK + 1, 0xFFFFFFFFu, PM_REMOVE);
  if (!got) {
    WaitMessage();
    return Outcome::Waiting;
  }
  if (msg.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    quit = true;
    return Outcome::NoGesture;
  }
  if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer) return Outcome::Held;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return Outcome::Waiting;
}

Outcome WaitForHold(HWND client, POINT down) {
  const HoldTimer timer(kHoldMilliseconds);
  if (!timer.id()) return Outcome::NoGesture;
  const int tolerance = std::max(2, Scaled(kToleranceAt96));
  bool quit = false;
  for (;;) {
    if (!IsWindow(client)) return Outcome::NoGesture;
    Outcome outcome = LookAtStylus(down, tolerance);
    if (outcome == Outcome::Waiting) outcome = HandleOther(timer.id(), quit);
    if (outcome != Outcome::Waiting) return outcome;
  }
}

}  // namespace
}  // namespace pda::shell

DWORD SHRecognizeGesture(PSHRGINFO info) {
  using namespace pda::shell;
  if (!info || info->cbSize != sizeof(SHRGINFO) || !IsWindow(info->hwndClient)) return 0;
  POINT down = info->ptDown;
  ClientToScreen(info->hwndClient, &down);
  const bool secondary = GetKeyState(VK_RBUTTON) < 0;
  if (!secondary && WaitForHold(info->hwndClient, down) != Outcome::Held) return 0;
  if (!(info->dwFlags & SHRG_RETURNCMD) && IsWindow(info->hwndClient))
    PostMessageW(info->hwndClient, WM_CONTEXTMENU, static_cast<WPARAM>(info->hwndClient.value),
                 MAKELPARAM(static_cast<WORD>(down.x), static_cast<WORD>(down.y)));
  return GN_CONTEXTMENU;
}
