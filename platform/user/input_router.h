// Routing of the stylus and the keys to windows, shared by every back end and the test harness
// so that there is one way in: the stylus goes to the window holding the capture (SetCapture),
// in its client coordinates wherever the point is; else to the window under the point (the
// topmost shown window containing it, children before parents), where a disabled window, or one
// inside a disabled window, swallows it. There is no implicit capture: a release outside the
// window that saw the press goes to whatever window is under the release unless that window took
// the capture. Keys go to the focus window, or to the foreground window when nothing has the
// focus.
//
// Everything is posted, never sent: a back end's thread must not wait for the UI thread.
#pragma once

#include "pda/user.h"

namespace pda::user {

struct Hit {
  HWND window;   // null when nothing is under the point or a disabled window swallowed it
  POINT client;  // the point in the window's client coordinates
};
// Screen coordinates.
Hit WindowUnderPoint(POINT screen);

// The stylus in screen coordinates. Moves count only while the stylus is down. A press of a
// mouse's secondary button is a stylus press too (WM_LBUTTONDOWN), marked MK_RBUTTON in it and
// in its moves, so that SHRecognizeGesture takes it as a tap-and-hold at once.
class StylusRouter {
 public:
  void Down(POINT screen, bool secondary = false);
  void Move(POINT screen);
  void Up(POINT screen);
  bool IsDown() const { return down_; }
  bool IsSecondary() const { return down_ && secondary_; }

 private:
  WPARAM Buttons() const;
  bool down_ = false;
  bool secondary_ = false;
};

// Where keys go: the focus window, else the foreground window (null when neither).
HWND KeyTarget();
// WM_KEYDOWN / WM_KEYUP to KeyTarget(); modifiers are keys too (VK_CONTROL, VK_SHIFT, VK_MENU),
// so the key-state table follows them as their messages are retrieved.
bool PostKey(int virtualKey, bool down);

// The thread of the foreground window, else of any top-level window: where work that must run
// on the UI thread (screen changes) is sent. 0 when there is no window.
DWORD UiThread();

}  // namespace pda::user
