// The application run in-process on the headless screen, for the shell and screen tests: each
// test gets its own device root, the scripted GPS driver, the manual timer clock, a fixed wall
// clock (the navigation bar shows it), an empty clipboard and the process-wide values of a fresh
// process. Helpers read the layout the platform gave the Main window and run code on the
// application's UI thread.
//
// Sections: screens | the fixture | running code on the UI thread | pixels
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include <pda.h>
#include <pda/entry.h>
#include <pda/testing/harness.h>

#include "device_root.h"

namespace zaz::testing {

// ---- screens -------------------------------------------------------------------------------

struct Screen {
  const char* name;
  int width;
  int height;
  int dpi;
};
inline void PrintTo(const Screen& s, std::ostream* os) { *os << s.name; }

inline constexpr Screen kPortraitNormal{"portrait_240x320_96", 240, 320, 96};
inline constexpr Screen kPortraitHigh{"portrait_480x640_192", 480, 640, 192};
inline constexpr Screen kLandscapeHigh{"landscape_640x480_192", 640, 480, 192};

// The fix used throughout: Seattle, 7 satellites used of 9 in view.
inline constexpr double kLatitude = 47.6062095;
inline constexpr double kLongitude = -122.3320708;
inline constexpr char kCoordinateText[] = "47.6062095,-122.3320708";

// Where the Main window's client area is on the screen, as read from the window itself.
struct ClientArea {
  int left;    // screen x of client x = 0
  int top;     // screen y of client y = 0
  int width;
  int height;
  int bottom() const { return top + height; }  // screen y one past the client area
};

// ---- the fixture ---------------------------------------------------------------------------

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the screen, starts the application (WinMainThenProcessEnd) and waits for the first
  // paint.
  pda::testing::Harness& Start(const Screen& screen);
  pda::testing::Harness& app() { return *app_; }

  // Scripts a position and waits until the Main window has painted it.
  void ScriptFix(double latitude = kLatitude, double longitude = kLongitude, DWORD used = 7,
                 DWORD inView = 9);
  // Ends the application with Ctrl+Q and waits for WinMain to return.
  void QuitWithCtrlQ();

  ClientArea Client();
  HWND MainWindow();

  DeviceRoot root_;
  std::unique_ptr<pda::testing::Harness> app_;
};

// WinMain, then what the end of the process would do: on the early paths WinMain leaves the
// Main window to the process end, and a window left behind would answer the next test's
// single-instance check; the shell's bars belong to the thread that made them. What was left
// is recorded first, then every window of the thread is destroyed.
int WINAPI WinMainThenProcessEnd(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                                 int show);
struct LeftAtProcessEnd {
  bool mainWindow = false;      // the Main window still existed when WinMain returned
  bool mainWindowVisible = false;
  int notificationIcons = 0;    // icons owned by the Main window then
};
// What the last WinMainThenProcessEnd found (read after Join).
LeftAtProcessEnd LastProcessEnd();

// ---- running code on the UI thread ---------------------------------------------------------

// Runs `task` on the thread of the running application (through its message loop) and returns
// its result; the application's own values are only read there, never from the test's thread.
void RunOnUiThread(pda::testing::Harness& app, std::function<void()> task);

template <class F>
auto OnUi(pda::testing::Harness& app, F f) -> std::invoke_result_t<F> {
  using R = std::invoke_result_t<F>;
  if constexpr (std::is_void_v<R>) {
    RunOnUiThread(app, [&] { f(); });
  } else {
    R result{};
    RunOnUiThread(app, [&] { result = f(); });
    return result;
  }
}

// ---- pixels --------------------------------------------------------------------------------

// A rectangle of screen pixels, row by row.
struct PixelBlock {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const {  // screen coordinates
    return pixels[static_cast<std::size_t>((y - top) * width + (x - left))];
  }
};
PixelBlock ReadBlock(const pda::testing::Harness& app, int left, int top, int width, int height);
// Pixels of `a` and `b` (same rectangle) that differ within the columns [x0, x1).
int DifferingPixels(const PixelBlock& a, const PixelBlock& b, int x0, int x1);
// Pixels of the block whose three channels all exceed `level`.
int BrightPixels(const PixelBlock& block, int level);

}  // namespace zaz::testing
