// Scroll bars on windows: the WS_VSCROLL frame and its switch, SetScrollInfo's clamping, the
// requests the stylus makes on the bar, and ScrollWindowEx moving child windows.
#include <gtest/gtest.h>

#include <vector>

#include "pda/gdi.h"
#include "user/input_router.h"
#include "user/screen_surface.h"
#include "user/window_scroll_bar.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

struct Asked {
  WORD code;
  WORD position;
  int trackPosition;  // GetScrollInfo's SIF_TRACKPOS when the request came
  bool operator==(const Asked&) const = default;
};

SCROLLINFO Info(UINT mask, int min = 0, int max = 0, UINT page = 0, int pos = 0) {
  return SCROLLINFO{sizeof(SCROLLINFO), mask, min, max, page, pos, 0};
}

int Position(HWND window) {
  SCROLLINFO info = Info(SIF_POS);
  EXPECT_TRUE(GetScrollInfo(window, SB_VERT, &info));
  return info.nPos;
}

RECT Client(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

class WindowScrollTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    bar_ = GetSystemMetrics(SM_CXVSCROLL);
    Recorder::Get().On(WM_VSCROLL, [this](HWND window, WPARAM wParam, LPARAM) -> LRESULT {
      SCROLLINFO info = Info(SIF_TRACKPOS);
      GetScrollInfo(window, SB_VERT, &info);
      asked_.push_back({LOWORD(wParam), HIWORD(wParam), info.nTrackPos});
      return 0;
    });
  }
  // A shown window with a bar: range 0..99, a page of 10.
  HWND Scrolled(int x = 0, int y = 100, int w = 200, int h = 300) {
    const HWND window = Make(WS_VISIBLE | WS_VSCROLL, HWND{}, x, y, w, h);
    const SCROLLINFO info = Info(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0);
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    return window;
  }
  int bar_ = 0;
  std::vector<Asked> asked_;
};

TEST_F(WindowScrollTest, ThePositionStaysWithinTheRangeLessThePage) {
  const HWND window = Scrolled();
  struct Case {
    UINT mask;
    int min, max;
    UINT page;
    int pos;
    int position;  // afterwards
    UINT pageAfter;
  } const cases[] = {
      {SIF_POS,                      0, 0,   0,   50,  50, 10},
      {SIF_POS,                      0, 0,   0,   95,  90, 10},  // 99 - 10 + 1
      {SIF_PAGE,                     0, 0,   30,  0,   70, 30},  // the position follows the page
      {SIF_POS,                      0, 0,   0,   -3,  0,  30},
      {SIF_RANGE,                    10, 40, 0,   0,   10, 30},  // up to the new minimum
      {SIF_PAGE,                     0, 0,   500, 0,   10, 31},  // page cut to the range
      {SIF_RANGE | SIF_PAGE | SIF_POS, 0, 9, 0,   7,   7,  0},   // no page: up to nMax
  };
  for (const Case& c : cases) {
    const SCROLLINFO set = Info(c.mask, c.min, c.max, c.page, c.pos);
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &set, FALSE), c.position);
    SCROLLINFO got = Info(SIF_ALL);
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &got));
    EXPECT_EQ(got.nPos, c.position);
    EXPECT_EQ(got.nPage, c.pageAfter);
    EXPECT_EQ(got.nTrackPos, c.position) << "no drag: the track position is the position";
  }
  SCROLLINFO wrongSize = Info(SIF_POS);
  wrongSize.cbSize = 24;
  EXPECT_FALSE(GetScrollInfo(window, SB_VERT, &wrongSize));
  SCROLLINFO plain = Info(SIF_POS);
  EXPECT_FALSE(GetScrollInfo(Make(WS_VISIBLE, HWND{}, 0, 0, 50, 50), SB_VERT, &plain));
}

// Presses on each part of the bar, through the stylus router, and the requests they make.
TEST_F(WindowScrollTest, TheStylusOnTheBarAsksForLinesPagesAndThumbPlaces) {
  const HWND window = Scrolled(0, 100, 200, 300);
  const int x = 200 - bar_ / 2;  // screen x on the bar
  const int top = 100;
  // Track: from top + bar_ to top + 300 - bar_ (248 pixels at 192 DPI); thumb 10 % of it.
  const int track = 300 - 2 * bar_;
  const int thumb = std::max(track / 10, bar_);
  struct Case {
    const char* name;
    int startPosition;
    POINT down, move, up;  // screen points
    std::vector<Asked> asked;
  } const cases[] = {
      {"up arrow", 50, {x, top + 2}, {x, top + 2}, {x, top + 2},
       {{SB_LINEUP, 0, 50}, {SB_ENDSCROLL, 0, 50}}},
      {"down arrow", 50, {x, top + 298}, {x, top + 298}, {x, top + 298},
       {{SB_LINEDOWN, 0, 50}, {SB_ENDSCROLL, 0, 50}}},
      {"track below the thumb", 0, {x, top + 250}, {x, top + 250}, {x, top + 250},
       {{SB_PAGEDOWN, 0, 0}, {SB_ENDSCROLL, 0, 0}}},
      {"track above the thumb", 90, {x, top + bar_ + 3}, {x, top + bar_ + 3}, {x, top + bar_ + 3},
       {{SB_PAGEUP, 0, 90}, {SB_ENDSCROLL, 0, 90}}},
      {"thumb dragged half way and lifted off the bar", 0, {x, top + bar_ + 2},
       {x, top + bar_ + 2 + (track - thumb) / 2}, {x - 150, top + bar_ + 2 + (track - thumb) / 2},
       {{SB_THUMBTRACK, 45, 45}, {SB_THUMBPOSITION, 45, 45}, {SB_ENDSCROLL, 0, 0}}},
      {"thumb dragged past the end", 0, {x, top + bar_ + 2}, {x, top + 400}, {x, top + 400},
       {{SB_THUMBTRACK, 90, 90}, {SB_THUMBPOSITION, 90, 90}, {SB_ENDSCROLL, 0, 0}}},
  };
  // The move and the lift as the router delivers them once the bar holds the capture: to the
  // window, in its client coordinates, wherever they are.
  const auto post = [window](UINT message, POINT screen) {
    ScreenToClient(window, &screen);
    PostMessageW(window, message, 0,
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  };
  for (const Case& c : cases) {
    const SCROLLINFO start = Info(SIF_POS, 0, 0, 0, c.startPosition);
    SetScrollInfo(window, SB_VERT, &start, TRUE);
    Drain();
    asked_.clear();
    pda::user::StylusRouter stylus;
    stylus.Down(c.down);
    post(WM_MOUSEMOVE, c.move);
    post(WM_LBUTTONUP, c.up);
    Drain();  // the press runs the bar's loop, which finds the move and the lift queued
    EXPECT_EQ(asked_, c.asked) << c.name;
    EXPECT_EQ(GetCapture(), HWND{}) << c.name;
    EXPECT_EQ(Position(window), c.startPosition) << c.name << ": the window moves itself";
  }
  const auto names = Recorder::Get().NamesFor(window);
  EXPECT_EQ(std::count(names.begin(), names.end(), "WM_LBUTTONDOWN"), 0)
      << "the bar's presses are not the client's";
}

TEST_F(WindowScrollTest, TheBarIsDrawnBesideTheClientAreaWithItsThumbAtThePosition) {
  const HWND window = Scrolled(0, 100, 200, 300);
  UpdateWindow(window);
  const auto at = [](int x, int y) {
    return gdi::ColorrefFromPixel(pda::user::ScreenPixels()->Color(x, y));
  };
  const int x = 200 - bar_ / 2;
  EXPECT_EQ(at(x, 100 + bar_ + 2), RGB(0x90, 0x90, 0x90)) << "thumb at the top of the track";
  EXPECT_EQ(at(x, 100 + 300 - bar_ - 2), RGB(0xE8, 0xE8, 0xE8)) << "track at the bottom";
  const SCROLLINFO end = Info(SIF_POS, 0, 0, 0, 99);
  SetScrollInfo(window, SB_VERT, &end, TRUE);
  EXPECT_EQ(at(x, 100 + 300 - bar_ - 2), RGB(0x90, 0x90, 0x90)) << "thumb at the bottom";
  EXPECT_EQ(at(x, 100 + bar_ + 2), RGB(0xE8, 0xE8, 0xE8));
}

// A window that scrolls its children as a page of controls does: by every request, clamped.
TEST_F(WindowScrollTest, EveryRequestScrollsTheChildrenByTheClampedDistance) {
  const HWND window = Scrolled(0, 100, 200, 300);
  const HWND child = Child(window, 10, 20, 50, 30, 7);
  constexpr int kLine = 4;  // pixels per scroll unit
  Recorder::Get().On(WM_VSCROLL, [window](HWND target, WPARAM wParam, LPARAM) -> LRESULT {
    if (target != window) return 0;
    SCROLLINFO info = Info(SIF_ALL);
    GetScrollInfo(window, SB_VERT, &info);
    int wanted = info.nPos;
    switch (LOWORD(wParam)) {
      case SB_LINEUP: wanted -= 1; break;
      case SB_LINEDOWN: wanted += 1; break;
      case SB_PAGEUP: wanted -= static_cast<int>(info.nPage); break;
      case SB_PAGEDOWN: wanted += static_cast<int>(info.nPage); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: wanted = HIWORD(wParam); break;
      case SB_TOP: wanted = info.nMin; break;
      case SB_BOTTOM: wanted = info.nMax; break;
      default: return 0;
    }
    const SCROLLINFO set = Info(SIF_POS, 0, 0, 0, wanted);
    const int now = SetScrollInfo(window, SB_VERT, &set, TRUE);
    RECT updated{};
    EXPECT_EQ(ScrollWindowEx(window, 0, (info.nPos - now) * kLine, nullptr, nullptr, HRGN{},
                             &updated, SW_SCROLLCHILDREN | SW_INVALIDATE),
              now == info.nPos ? NULLREGION : SIMPLEREGION);
    return 0;
  });
  struct Step {
    WORD request;
    WORD thumb;
    int position;
  } const steps[] = {
      {SB_LINEUP, 0, 0},   {SB_LINEDOWN, 0, 1},      {SB_PAGEDOWN, 0, 11},
      {SB_BOTTOM, 0, 90},  {SB_LINEDOWN, 0, 90},     {SB_PAGEUP, 0, 80},
      {SB_THUMBTRACK, 95, 90}, {SB_THUMBPOSITION, 33, 33}, {SB_PAGEUP, 0, 23},
      {SB_TOP, 0, 0},      {SB_ENDSCROLL, 0, 0},
  };
  for (const Step& step : steps) {
    SendMessageW(window, WM_VSCROLL, MAKEWPARAM(step.request, step.thumb), 0);
    EXPECT_EQ(Position(window), step.position) << step.request;
    RECT r{};
    GetWindowRect(child, &r);
    EXPECT_EQ(r.top - 100, 20 - step.position * kLine) << step.request;
    EXPECT_EQ(r.left, 10) << "only down and up";
  }
}

// A child reaching past the client area neither shows nor takes the stylus on the bar.
TEST_F(WindowScrollTest, ChildrenAreCutAtTheBar) {
  const HWND window = Scrolled(0, 100, 200, 300);
  const HWND child = Child(window, 150, 10, 100, 40);
  for (const RECT& r : pda::testing::VisibleRects(child)) EXPECT_LE(r.right, 200 - bar_);
  EXPECT_EQ(pda::user::VerticalBarAt(POINT{200 - bar_ / 2, 130}), window);
  EXPECT_EQ(pda::user::WindowUnderPoint(POINT{160, 130}).window, child);
}

TEST_F(WindowScrollTest, SwitchingTheStyleChangesTheClientWidthAtFrameChanged) {
  const HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 200, 300);
  const HWND child = Child(window, 0, 0, 10, 10);
  EXPECT_EQ(Client(window).right, 200);
  struct Step {
    bool scrollBar;
    UINT flags;
    int width;      // client width afterwards
    bool resized;   // WM_SIZE came
  } const steps[] = {
      {true, 0, 200, false},  // the style alone changes nothing
      {true, SWP_FRAMECHANGED, 200 - bar_, true},
      {true, SWP_FRAMECHANGED, 200 - bar_, false},  // again: nothing new
      {false, SWP_FRAMECHANGED, 200, true},
  };
  for (const Step& step : steps) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, step.scrollBar ? style | static_cast<LONG>(WS_VSCROLL)
                                                     : style & ~static_cast<LONG>(WS_VSCROLL));
    Recorder::Get().Clear();
    if (step.flags)
      SetWindowPos(window, HWND{}, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | step.flags);
    EXPECT_EQ(Client(window).right, step.width);
    const auto names = Recorder::Get().NamesFor(window);
    EXPECT_EQ(std::count(names.begin(), names.end(), "WM_SIZE"), step.resized ? 1 : 0);
    RECT whole{};
    GetWindowRect(window, &whole);
    EXPECT_EQ(whole.right - whole.left, 200) << "the window keeps its size";
  }
  EXPECT_TRUE(IsWindow(child));
}

// New values decide whether the window has a bar: something to scroll brings it (the client
// area narrows), nothing to scroll takes it away, unless SIF_DISABLENOSCROLL keeps it.
TEST_F(WindowScrollTest, SetScrollInfoShowsTheBarWhenThereIsSomethingToScroll) {
  const HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 200, 300);
  struct Step {
    UINT mask;
    int min, max;
    UINT page;
    bool bar;  // afterwards
  } const steps[] = {
      {SIF_POS,                      0, 0,  0,  false},  // a position alone brings nothing
      {SIF_RANGE | SIF_PAGE,         0, 99, 10, true},
      {SIF_PAGE,                     0, 0,  100, false},  // the page now covers the range
      {SIF_PAGE,                     0, 0,  10, false},   // a page alone never brings the bar
      {SIF_RANGE,                    0, 50, 0,  true},
      {SIF_RANGE | SIF_DISABLENOSCROLL, 0, 5, 0, true},  // page 10 covers it: kept, no thumb
      {SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, false},
  };
  for (const Step& step : steps) {
    const SCROLLINFO info = Info(step.mask, step.min, step.max, step.page, 0);
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EXPECT_EQ((GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL) != 0, step.bar) << step.max;
    EXPECT_EQ(Client(window).right, step.bar ? 200 - bar_ : 200) << step.max;
  }
  SCROLLINFO kept = Info(SIF_ALL);
  EXPECT_TRUE(GetScrollInfo(window, SB_VERT, &kept)) << "the values outlive the bar";
  EXPECT_EQ(kept.nMax, 0);
}

}  // namespace
}  // namespace pda::user_test
