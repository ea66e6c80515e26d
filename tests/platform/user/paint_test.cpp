// Painting: contexts clipped to what of a window shows, the update region as the paint clip,
// erasing with the class brush, screen contexts for capabilities, and damage reports.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "pda/gdi.h"
#include "user/screen_surface.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The screen pixel as a COLORREF.
COLORREF ScreenAt(int x, int y) {
  return gdi::ColorrefFromPixel(pda::user::ScreenPixels()->Color(x, y));
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Paints the whole client area of every window given a colour, whatever the update region is:
// only the paint clip keeps the colour inside.
class PaintTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    Recorder::Get().On(WM_PAINT, [this](HWND window, WPARAM, LPARAM) -> LRESULT {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      last_ = ps;
      RECT client;
      GetClientRect(window, &client);
      if (auto it = colors_.find(window.value); it != colors_.end()) Fill(dc, client, it->second);
      EndPaint(window, &ps);
      return 0;
    });
    // The whole screen black, and no damage left from earlier tests.
    HDC screen = GetDC(nullptr);
    RECT all{0, 0, 480, 640};
    Fill(screen, all, RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);
    pda::user::TakeScreenDamage([](const gdi::Pixels&, const std::vector<RECT>&) {});
  }
  void Paint(HWND window, COLORREF color) {
    colors_[window.value] = color;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
  std::map<std::uint32_t, COLORREF> colors_;
  PAINTSTRUCT last_{};
};

TEST_F(PaintTest, ParentRepaintLeavesItsChildAlone) {
  HWND parent = Make(WS_VISIBLE, HWND{}, 0, 0, 100, 100);
  HWND child = Child(parent, 10, 10, 20, 20);
  Paint(child, kBlue);
  Paint(parent, kRed);
  EXPECT_EQ(ScreenAt(15, 15), kBlue) << "inside the child";
  EXPECT_EQ(ScreenAt(29, 29), kBlue) << "child's last pixel";
  EXPECT_EQ(ScreenAt(30, 30), kRed) << "just past the child";
  EXPECT_EQ(ScreenAt(5, 5), kRed);
  EXPECT_EQ(ScreenAt(100, 50), RGB(0, 0, 0)) << "outside the parent";
}

// A window shown needs painting under its children too: a child moved away without a repaint
// before the window paints leaves no stale pixels where it was.
TEST_F(PaintTest, AChildMovedAwayBeforeTheFirstPaintLeavesNothingBehind) {
  HWND parent = Make(0, HWND{}, 0, 0, 100, 100);
  HWND child = Child(parent, 10, 10, 20, 20);
  colors_[parent.value] = kRed;
  colors_[child.value] = kBlue;
  ShowWindow(parent, SW_SHOW);
  ASSERT_TRUE(SetWindowPos(child, HWND{}, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW));
  UpdateWindow(parent);
  UpdateWindow(child);
  EXPECT_EQ(ScreenAt(15, 15), kRed) << "where the child was";
  EXPECT_EQ(ScreenAt(55, 55), kBlue);
}

TEST_F(PaintTest, ChildDrawsAtItsOriginAndInsideItsParent) {
  HWND parent = Make(WS_VISIBLE, HWND{}, 50, 60, 100, 100);
  HWND child = Child(parent, 90, 90, 40, 40);  // hangs over the parent's edge
  Paint(child, kGreen);
  EXPECT_EQ(ScreenAt(140, 150), kGreen);
  EXPECT_EQ(ScreenAt(149, 159), kGreen);
  EXPECT_EQ(ScreenAt(150, 155), RGB(0, 0, 0)) << "the parent clips its child";
  EXPECT_EQ(ScreenAt(139, 155), RGB(0, 0, 0));
}

TEST_F(PaintTest, LowerSiblingDoesNotPaintOverTheUpperOne) {
  HWND parent = Make(WS_VISIBLE, HWND{}, 0, 0, 200, 200);
  HWND lower = Child(parent, 0, 0, 100, 100);
  HWND upper = Child(parent, 50, 50, 100, 100);
  ASSERT_TRUE(SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  Paint(upper, kBlue);
  Paint(lower, kRed);
  EXPECT_EQ(ScreenAt(60, 60), kBlue) << "overlap belongs to the upper sibling";
  EXPECT_EQ(ScreenAt(49, 60), kRed);
  EXPECT_EQ(ScreenAt(120, 120), kBlue);
}

TEST_F(PaintTest, PaintReachesOnlyTheUpdateRegion) {
  HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 100, 100);
  Paint(window, kRed);
  colors_[window.value] = kBlue;
  const RECT part{10, 20, 30, 40};
  InvalidateRect(window, &part, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(last_.rcPaint.left, 10);
  EXPECT_EQ(last_.rcPaint.top, 20);
  EXPECT_EQ(last_.rcPaint.right, 30);
  EXPECT_EQ(last_.rcPaint.bottom, 40);
  EXPECT_EQ(ScreenAt(10, 20), kBlue);
  EXPECT_EQ(ScreenAt(29, 39), kBlue);
  EXPECT_EQ(ScreenAt(30, 39), kRed);
  EXPECT_EQ(ScreenAt(9, 20), kRed);
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "BeginPaint validated the window";
}

TEST_F(PaintTest, GetDcIsClippedToTheVisibleRegion) {
  HWND parent = Make(WS_VISIBLE, HWND{}, 0, 0, 100, 100);
  Child(parent, 0, 0, 50, 100);
  HDC dc = GetDC(parent);
  ASSERT_TRUE(dc);
  Fill(dc, RECT{0, 0, 100, 100}, kWhite);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, 50) << "the child is left out";
  EXPECT_EQ(ReleaseDC(parent, dc), 1);
  EXPECT_EQ(ScreenAt(49, 10), RGB(0, 0, 0));
  EXPECT_EQ(ScreenAt(50, 10), kWhite);
  EXPECT_EQ(ReleaseDC(parent, dc), 0) << "released twice";
}

TEST_F(PaintTest, HiddenWindowContextDrawsNothing) {
  HWND window = Make(0, HWND{}, 0, 0, 100, 100);
  HDC dc = GetDC(window);
  ASSERT_TRUE(dc);
  Fill(dc, RECT{0, 0, 100, 100}, kWhite);
  ReleaseDC(window, dc);
  EXPECT_EQ(ScreenAt(10, 10), RGB(0, 0, 0));
}

// The damage handed over now, as left, top, right, bottom of each rectangle (none: nothing).
using Damage = std::vector<std::array<LONG, 4>>;
Damage TakeDamage() {
  Damage taken;
  pda::user::TakeScreenDamage([&](const gdi::Pixels&, const std::vector<RECT>& rects) {
    for (const RECT& r : rects) taken.push_back({r.left, r.top, r.right, r.bottom});
  });
  return taken;
}

TEST_F(PaintTest, ContextsReportWhatTheyDrewAsDamage) {
  HWND window = Make(WS_VISIBLE, HWND{}, 20, 30, 100, 100);
  Paint(window, kRed);
  TakeDamage();
  const RECT part{5, 5, 15, 25};
  InvalidateRect(window, &part, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(TakeDamage(), (Damage{{25, 35, 35, 55}}));
  EXPECT_EQ(TakeDamage(), Damage{}) << "damage is handed over once";

  // A context reports what it drew, not all it could have drawn on.
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(TakeDamage(), Damage{}) << "a context that drew nothing";
  HDC dc = GetDC(window);
  Fill(dc, RECT{10, 10, 20, 15}, kBlue);
  Fill(dc, RECT{40, 60, 50, 70}, kBlue);
  ReleaseDC(window, dc);
  EXPECT_EQ(TakeDamage(), (Damage{{30, 40, 70, 100}})) << "the bounds of both fills";

  // A copy of a picture (a back buffer, say) reports only the rows it changed.
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(memory, 100, 100);
  HGDIOBJ old = SelectObject(memory, bitmap);
  Fill(memory, RECT{0, 0, 100, 100}, kGreen);
  auto copy = [&] {
    HDC window_dc = GetDC(window);
    BitBlt(window_dc, 0, 0, 100, 100, memory, 0, 0, SRCCOPY);
    ReleaseDC(window, window_dc);
  };
  copy();
  TakeDamage();
  EXPECT_EQ(ScreenAt(70, 100), kGreen);
  copy();
  EXPECT_EQ(TakeDamage(), Damage{}) << "the same picture again";
  SetPixel(memory, 99, 50, kRed);
  copy();
  EXPECT_EQ(TakeDamage(), (Damage{{20, 80, 120, 81}}));
  EXPECT_EQ(ScreenAt(119, 80), kRed);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

TEST_F(PaintTest, PresenterIsToldOnceUntilItTakesTheDamage) {
  int told = 0;
  pda::user::SetScreenPresenter([&] { ++told; });
  // Untold, the whole-screen damage would keep every later drawing from being told.
  EXPECT_EQ(told, 1) << "a new presenter is told of the whole screen it starts with";
  HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 50, 50);
  Paint(window, kRed);
  Paint(window, kBlue);
  EXPECT_EQ(told, 1) << "told again before it took the damage";
  COLORREF presented = 0;
  pda::user::TakeScreenDamage([&](const gdi::Pixels& pixels, const std::vector<RECT>&) {
    presented = gdi::ColorrefFromPixel(pixels.Color(10, 10));
  });
  EXPECT_EQ(presented, kBlue) << "the surface handed over holds what was drawn";
  Paint(window, kGreen);
  EXPECT_EQ(told, 2);

  // While a context is drawing, the surface is not handed over; its close tells the presenter.
  HDC dc = GetDC(window);
  EXPECT_FALSE(pda::user::TakeScreenDamage([](const gdi::Pixels&, const std::vector<RECT>&) {}));
  Fill(dc, RECT{0, 0, 5, 5}, kRed);
  ReleaseDC(window, dc);
  EXPECT_EQ(told, 3) << "told again when the last context closed";
  EXPECT_EQ(TakeDamage().size(), 1u) << "the damage waited, none was lost";
  pda::user::SetScreenPresenter({});
}

// ---- erasing -------------------------------------------------------------------------------
constexpr char16_t kBrushClass[] = u"PaintBrushClass";
constexpr char16_t kBareClass[] = u"PaintBareClass";

struct ErasePaint {
  bool sawErase = false;
  BOOL fErase = FALSE;
};
ErasePaint g_erase;

LRESULT ErasingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) g_erase.sawErase = true;
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    g_erase.fErase = ps.fErase;
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class EraseTest : public PaintTest {
 protected:
  void SetUp() override {
    PaintTest::SetUp();
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ErasingProcedure;
      wc.hbrBackground = CreateSolidBrush(kGreen).value;
      wc.lpszClassName = kBrushClass;
      WNDCLASSW bare{};
      bare.lpfnWndProc = ErasingProcedure;
      bare.lpszClassName = kBareClass;
      return RegisterClassW(&wc) != 0 && RegisterClassW(&bare) != 0;
    }();
    ASSERT_TRUE(registered);
    g_erase = ErasePaint{};
  }
  HWND MakeOf(const char16_t* className) {
    HWND w = CreateWindowExW(0, className, u"", WS_VISIBLE, 0, 0, 60, 60, HWND{}, HANDLE{},
                             HINSTANCE{}, nullptr);
    made_.push_back(w);
    return w;
  }
};

TEST_F(EraseTest, EraseFillsWithTheClassBrush) {
  HWND window = MakeOf(kBrushClass);
  UpdateWindow(window);
  g_erase = ErasePaint{};
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  EXPECT_TRUE(g_erase.sawErase);
  EXPECT_FALSE(g_erase.fErase) << "DefWindowProc erased it";
  EXPECT_EQ(ScreenAt(0, 0), kGreen);
  EXPECT_EQ(ScreenAt(59, 59), kGreen);
  EXPECT_EQ(ScreenAt(60, 59), RGB(0, 0, 0));
}

TEST_F(EraseTest, InvalidateWithoutEraseSendsNoEraseMessage) {
  HWND window = MakeOf(kBrushClass);
  UpdateWindow(window);
  HDC dc = GetDC(window);
  Fill(dc, RECT{0, 0, 60, 60}, kRed);
  ReleaseDC(window, dc);
  g_erase = ErasePaint{};
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_FALSE(g_erase.sawErase);
  EXPECT_EQ(ScreenAt(30, 30), kRed);
}

TEST_F(EraseTest, ClassWithoutBrushLeavesErasingToThePaint) {
  HWND window = MakeOf(kBareClass);
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  EXPECT_TRUE(g_erase.sawErase);
  EXPECT_TRUE(g_erase.fErase);
}

// ---- the screen context --------------------------------------------------------------------
TEST_F(PaintTest, ScreenContextGivesTheScreenCapabilities) {
  pda::testing::ChangeScreen(240, 320, 96);
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 240);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 320);
  RECT box;
  GetClipBox(screen, &box);
  EXPECT_EQ(box.right, 240) << "the screen surface followed the rotation";
  EXPECT_EQ(box.bottom, 320);
  HDC memory = CreateCompatibleDC(screen);
  EXPECT_TRUE(memory);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 10);
  EXPECT_TRUE(bitmap);
  DeleteDC(memory);
  DeleteObject(bitmap);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  pda::testing::ChangeScreen(480, 640, 192);
  EXPECT_EQ(pda::user::ScreenPixels()->width(), 480);
}

TEST_F(PaintTest, BeginPaintRefusesAStaleWindow) {
  HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 10, 10);
  DestroyWindow(window);
  PAINTSTRUCT ps;
  EXPECT_FALSE(BeginPaint(window, &ps));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(GetDC(window));
}

}  // namespace
}  // namespace pda::user_test
