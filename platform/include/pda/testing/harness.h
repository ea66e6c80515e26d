// The test harness: an application run in-process on the headless screen, driven like a user
// drives the device. Its entry function (the application's WinMain) runs on a UI thread of its
// own; the stylus and keys are routed exactly as the SDL back end routes them; the test waits
// until the UI thread has nothing left to do, then reads the screen, the clipboard and the exit.
//
// For tests only; the application never includes this header. GPS records come through
// pda/testing/gps.h, files through a device root fixture, debug output through pda/testing/kernel.h.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "pda/gdi.h"
#include "pda/user.h"

namespace pda::testing {

using EntryFunction = int (*)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                              int show);

struct KeyModifiers {
  bool ctrl = false;
  bool shift = false;
};

class Harness {
 public:
  // How long WaitIdle and Join wait before they give up (a test then fails, it does not hang).
  static constexpr std::chrono::milliseconds kWatchdog{10'000};

  // Starts the headless back end and runs `entry` on the UI thread with the program's module
  // handle, no previous instance, an empty command line and SW_SHOWNORMAL.
  explicit Harness(EntryFunction entry);
  // Ends the application if it still runs (WM_QUIT to the UI thread), joins it, stops the back end.
  ~Harness();
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  // ---- the stylus (screen coordinates) and the keys ----
  void Tap(int x, int y);  // Press then Release at the same point
  void Press(int x, int y);
  void PressSecondary(int x, int y);  // a mouse's secondary button: a tap-and-hold at once
  void MoveTo(int x, int y);
  void Release(int x, int y);
  // Key down and up, with Ctrl and Shift held around it.
  void Key(int virtualKey, KeyModifiers modifiers = {});

  // Returns once the UI thread waits for messages with nothing sent, posted, to paint or due
  // (or has ended); false when kWatchdog passed first.
  bool WaitIdle(std::chrono::milliseconds limit = kWatchdog);

  // ---- what the user sees (read after WaitIdle) ----
  COLORREF ReadPixel(int x, int y) const;  // CLR_INVALID outside the screen
  bool SaveScreenshot(const std::string& path) const;  // PNG
  std::string ClipboardText() const;  // the desktop clipboard (UTF-8)
  void SetClipboardText(const std::string& utf8);

  // ---- the application's end ----
  DWORD UiThreadId() const;
  // Waits for the UI thread to end; false when the limit passed first.
  bool Join(std::chrono::milliseconds limit = kWatchdog);
  bool Ended() const;
  int ExitCode() const;  // the entry function's result, once Ended()
  void PostQuit(int exitCode = 0);
  void Close(HWND window);  // posts WM_CLOSE

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace pda::testing
