// The navigation bar: its place, the minute clock, and repaints when the foreground window or
// its title changes.
#include <chrono>

#include "display/display.h"
#include "pda/testing/kernel.h"
#include "shell/navigation_bar.h"
#include "shell_fixture.h"

namespace pda::shell_test {
namespace {

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
