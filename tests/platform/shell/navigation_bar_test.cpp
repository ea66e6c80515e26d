// The navigation bar: its place, the minute clock, repaints when the foreground window or its
// title changes, and the GPS status icon with its bubble.
#include <chrono>
#include <string>

#include "display/display.h"
#include "gps/gps_status.h"
#include "look/look.h"
#include "memory_canvas.h"
#include "pda/testing/kernel.h"
#include "shell/bar_layout.h"
#include "shell/navigation_bar.h"
#include "shell/status_bubble.h"
#include "shell_fixture.h"

namespace pda::shell_test {
namespace {

using namespace pda::shell;

class NavigationBarTest : public ShellTest {
 protected:
  void TearDown() override {
    pda::SetWallClockForTesting(std::nullopt);
    ShellTest::TearDown();
  }
  static bool NeedsPaint(HWND window) {
    RECT r{};
    return GetUpdateRect(window, &r, FALSE) != FALSE;
  }
};

TEST_F(NavigationBarTest, StartsAcrossTheTopWithoutTakingTheForeground) {
  const HWND app = Make(WS_VISIBLE);
  ASSERT_TRUE(SHInitExtraControls());
  const HWND bar = pda::testing::NavigationBarWindow();
  ASSERT_TRUE(bar);
  RECT rect{};
  GetWindowRect(bar, &rect);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 480);
  EXPECT_EQ(rect.bottom, pda::display::BarHeight());
  EXPECT_EQ(GetForegroundWindow(), app);
  // A second start finds the bar there.
  SHInitExtraControls();
  EXPECT_EQ(pda::testing::NavigationBarWindow(), bar);
  // When the application goes, the bar does not become the foreground window.
  DestroyWindow(app);
  EXPECT_NE(GetForegroundWindow(), bar);
}

TEST_F(NavigationBarTest, RepaintsWhenTheForegroundWindowOrItsTitleChanges) {
  const HWND first = Make(WS_VISIBLE, HWND{}, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, u"First");
  const HWND second = Make(WS_VISIBLE, HWND{}, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, u"Second");
  SHInitExtraControls();
  const HWND bar = pda::testing::NavigationBarWindow();
  Drain();
  ASSERT_FALSE(NeedsPaint(bar));

  SetForegroundWindow(first);
  EXPECT_TRUE(NeedsPaint(bar)) << "after a new foreground window";
  Drain();
  SetWindowTextW(first, u"Renamed");
  EXPECT_TRUE(NeedsPaint(bar)) << "after the title changed";
  Drain();
  SetForegroundWindow(first);  // no change, no repaint
  EXPECT_FALSE(NeedsPaint(bar));
  static_cast<void>(second);
}

TEST_F(NavigationBarTest, TheClockTurnsOverOnTheMinute) {
  using namespace std::chrono;
  // 50.5 seconds into a minute: the next tick is 9.5 seconds away.
  const system_clock::time_point start =
      system_clock::time_point(floor<minutes>(system_clock::now().time_since_epoch())) +
      milliseconds(50500);
  pda::SetWallClockForTesting(start);
  pda::testing::UseManualClock(1000);
  SHInitExtraControls();
  const std::u16string before = pda::shell::NavigationBarClock();
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(before, pda::shell::ClockText(now));

  pda::SetWallClockForTesting(start + milliseconds(9499));
  pda::testing::AdvanceClock(9499);
  Drain();
  EXPECT_EQ(pda::shell::NavigationBarClock(), before);

  pda::SetWallClockForTesting(start + milliseconds(9500));
  pda::testing::AdvanceClock(1);
  Drain();
  GetLocalTime(&now);
  EXPECT_EQ(now.wSecond, 0);
  EXPECT_EQ(pda::shell::NavigationBarClock(), pda::shell::ClockText(now));
  EXPECT_NE(pda::shell::NavigationBarClock(), before);
}

struct ResetSourceStatusAtEnd {
  ~ResetSourceStatusAtEnd() { gps::ResetSourceStatus(""); }
};

// Pixels of the colour inside the rectangle.
int Count(const test_support::MemoryCanvas& canvas, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += canvas.At(x, y) == colour;
  return n;
}

TEST_F(NavigationBarTest, TheGpsIconFollowsTheSourceAndATapShowsItsStateInWords) {
  ResetSourceStatusAtEnd reset;
  struct Case {
    gps::SourceState state;
    const char* text;
    COLORREF mark;     // the icon's colour
    bool crossedOut;
  };
  const Case cases[] = {
      {gps::SourceState::Fix, "Demo receiver: fix", look::palette::kGood, false},
      {gps::SourceState::Searching, "NMEA /dev/ttyUSB0: no data for 12 s", look::palette::kWarning,
       false},
      {gps::SourceState::NoSource, "gpsd at 127.0.0.1:2947: not reachable, retrying",
       look::palette::kBarGlyph, true},
  };
  Make(WS_VISIBLE);
  ASSERT_TRUE(SHInitExtraControls());
  const HWND bar = pda::testing::NavigationBarWindow();
  RECT client{};
  GetClientRect(bar, &client);
  const NavigationBarLayout layout = LayOutNavigationBar(client, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    gps::ReportSourceStatus(c.state, c.text);
    Drain();
    // The bar as it is on the screen now.
    const ScopedWindowDC screen(bar);
    test_support::MemoryCanvas canvas(client.right, client.bottom);
    BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, screen.get(), 0, 0, SRCCOPY);
    EXPECT_GT(Count(canvas, layout.gps, c.mark), 0) << "the icon does not show the state";
    EXPECT_EQ(Count(canvas, layout.gps, look::palette::kError) > 0, c.crossedOut);

    Tap(bar, Centre(layout.gps));
    const HWND bubble = StatusBubble();
    ASSERT_TRUE(bubble);
    EXPECT_EQ(StatusBubbleText(), std::u16string(c.text, c.text + std::char_traits<char>::length(c.text)));
    RECT placed{};
    GetWindowRect(bubble, &placed);
    EXPECT_EQ(placed.top, client.bottom) << "not just under the bar";
    Tap(bubble, {4, 4});
    EXPECT_FALSE(StatusBubble()) << "a tap did not close the bubble";
  }
}

TEST(ClockText, IsHoursAndMinutesWithTwoDigitsEach) {
  struct Case {
    WORD hour, minute;
    const char16_t* text;
  };
  for (const Case& c : {Case{0, 0, u"00:00"}, Case{9, 5, u"09:05"}, Case{23, 59, u"23:59"}}) {
    SYSTEMTIME t{};
    t.wHour = c.hour;
    t.wMinute = c.minute;
    EXPECT_EQ(pda::shell::ClockText(t), c.text);
  }
}

}  // namespace
}  // namespace pda::shell_test
