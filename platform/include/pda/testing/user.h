// Test hooks of the window manager: the manual timer clock, the screen size (rotation), the
// key-state table, the process's top-level windows, work run on a UI thread, visible regions and
// message names.
//
// For tests and test harnesses only; the application never includes this header. Unlike the
// rest of the platform's surface this is C++ (std types), in namespace pda::testing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pda/user.h"

namespace pda::testing {

// ---- clock ---------------------------------------------------------------------------------
// Timers (and GetTickCount) follow a clock that only moves when AdvanceClock is called; a
// waiting GetMessageW sleeps until it is woken instead of until the next due timer.
void UseManualClock(DWORD start = 0);
// Moves the manual clock on and wakes every thread's queue so that due timers fire.
void AdvanceClock(DWORD milliseconds);
// Back to the host's monotonic clock.
void UseRealClock();

// ---- screen --------------------------------------------------------------------------------
// The screen becomes width x height at dpi, as when the device rotates: windows placed by
// CW_USEDEFAULT take the new default rectangle (WM_SIZE), then every top-level window gets
// WM_SETTINGCHANGE with SETTINGCHANGE_RESET.
void ChangeScreen(int width, int height, int dpi);

// ---- keyboard ------------------------------------------------------------------------------
// Every key up.
void ResetKeyState();

// ---- windows and threads -------------------------------------------------------------------
struct TopLevelWindow {
  HWND window;
  std::u16string className;
  std::u16string title;
};
// The process's top-level windows not being destroyed, topmost first. Read without sending any
// message, so a test may look from outside the windows' thread.
std::vector<TopLevelWindow> TopLevelWindows();
// Runs `task` on the given thread when its message loop next dispatches; false when the thread
// has no message queue.
bool CallOnThread(DWORD threadId, std::function<void()> task);

// ---- regions and names ---------------------------------------------------------------------
// The window's visible region in screen coordinates, as bands of rectangles.
std::vector<RECT> VisibleRects(HWND window);
// "WM_CREATE"; "WM_USER+5" / "WM_APP+2" for private messages; "0x1234" otherwise.
std::string MessageName(UINT message);

}  // namespace pda::testing
