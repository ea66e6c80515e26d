// Visible regions (every window clips its children and the siblings above it) and update
// regions with WM_PAINT.
#include "user_fixture.h"

namespace pda::user_test {
namespace {

long Area(const std::vector<RECT>& rects) {
  long area = 0;
  for (const RECT& r : rects) area += long{r.right - r.left} * (r.bottom - r.top);
  return area;
}

bool Covers(const std::vector<RECT>& rects, int x, int y) {
  for (const RECT& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

class RegionTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    // parent 100x100 at (0,100); a: 40x40 at (10,10); b above? Children created later go
    // below, so a is above b where they overlap; b: 40x40 at (30,30).
    parent = Make(WS_VISIBLE, HWND{}, 0, 100, 100, 100);
    a = Child(parent, 10, 10, 40, 40);
    b = Child(parent, 30, 30, 40, 40);
  }
  HWND parent, a, b;
};

struct PointCase {
  const char* name;
  int x, y;  // screen
  bool inParent, inA, inB;
};

TEST_F(RegionTest, EachScreenPointBelongsToTheTopmostWindowThere) {
  const PointCase cases[] = {
      {"parent only", 5, 105, true, false, false},
      {"a only", 15, 115, false, true, false},
      {"a above b where they overlap", 35, 135, false, true, false},
      {"b only", 60, 160, false, false, true},
      {"outside every window", 5, 95, false, false, false},
  };
  const auto parentRects = pda::testing::VisibleRects(parent);
  const auto aRects = pda::testing::VisibleRects(a);
  const auto bRects = pda::testing::VisibleRects(b);
  for (const PointCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Covers(parentRects, c.x, c.y), c.inParent);
    EXPECT_EQ(Covers(aRects, c.x, c.y), c.inA);
    EXPECT_EQ(Covers(bRects, c.x, c.y), c.inB);
  }
  // Nothing is lost or shown twice: the three regions tile the parent.
  EXPECT_EQ(Area(parentRects) + Area(aRects) + Area(bRects), 100L * 100);
}

TEST_F(RegionTest, ChildrenAreClippedToTheirParentAndHiddenWindowsShowNothing) {
  const HWND overhang = Child(a, 30, 30, 50, 50);  // sticks out of a (40x40)
  EXPECT_EQ(Area(pda::testing::VisibleRects(overhang)), 10L * 10);
  ShowWindow(a, SW_HIDE);
  EXPECT_TRUE(pda::testing::VisibleRects(a).empty());
  EXPECT_TRUE(pda::testing::VisibleRects(overhang).empty());
  EXPECT_EQ(Area(pda::testing::VisibleRects(b)), 40L * 40);  // nothing above b any more
}

TEST_F(RegionTest, UpdateRegionIsClippedToTheVisibleArea) {
  Drain();
  InvalidateRect(b, nullptr, FALSE);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(b, &update, FALSE));
  // The part of b under a (its top-left 20x20) does not need painting.
  std::vector<LONG> got{update.left, update.top, update.right, update.bottom};
  EXPECT_EQ(got, (std::vector<LONG>{0, 0, 40, 40}));  // bounds still span the L shape
  ValidateRect(b, nullptr);
  RECT underA{0, 0, 20, 20};
  InvalidateRect(b, &underA, FALSE);
  EXPECT_FALSE(GetUpdateRect(b, &update, FALSE));
}

TEST_F(RegionTest, PaintComesForInvalidWindowsOnlyAndUpdateWindowSendsItAtOnce) {
  Drain();
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, HWND{}, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  RECT r{0, 0, 5, 5};
  InvalidateRect(parent, &r, TRUE);
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(msg.hwnd, parent);
  Recorder::Get().Clear();
  UpdateWindow(parent);
  // Invalidated with erase: the default paint erases the background first.
  EXPECT_EQ(Recorder::Get().NamesFor(parent),
            (std::vector<std::string>{"WM_PAINT", "WM_ERASEBKGND"}));
  EXPECT_FALSE(PeekMessageW(&msg, HWND{}, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  Recorder::Get().Clear();
  UpdateWindow(parent);  // nothing to paint: nothing sent
  EXPECT_TRUE(Recorder::Get().NamesFor(parent).empty());
}

TEST_F(RegionTest, HidingAWindowAsksWhatWasBelowItToRepaint) {
  Drain();
  ShowWindow(a, SW_HIDE);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(parent, &update, FALSE));
  EXPECT_EQ((std::vector<LONG>{update.left, update.top, update.right, update.bottom}),
            (std::vector<LONG>{10, 10, 50, 50}));
  EXPECT_TRUE(GetUpdateRect(b, nullptr, FALSE));  // b's corner under a is uncovered too
}

TEST_F(RegionTest, SiblingTopLevelWindowsClipEachOther) {
  const HWND above = Make(WS_VISIBLE, HWND{}, 50, 150, 100, 100);
  EXPECT_EQ(Area(pda::testing::VisibleRects(above)), 100L * 100);
  // The parent loses its bottom-right quarter under the newer window; b loses its corner too.
  EXPECT_FALSE(Covers(pda::testing::VisibleRects(parent), 60, 160));
  EXPECT_FALSE(Covers(pda::testing::VisibleRects(b), 60, 160));
  EXPECT_TRUE(Covers(pda::testing::VisibleRects(b), 65, 145));
}

}  // namespace
}  // namespace pda::user_test
