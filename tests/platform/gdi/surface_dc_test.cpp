// Contexts on a surface the window system owns: origin offset and clip region.
#include <gtest/gtest.h>

#include "gdi/surface_dc.h"
#include "gdi_fixtures.h"

namespace {

using pda::gdi::Pixels;

struct Screen {
  std::shared_ptr<Pixels> pixels = std::make_shared<Pixels>(*Pixels::Create(10, 10));
  std::uint32_t At(int x, int y) const { return pixels->Color(x, y); }
  int CountNot(std::uint32_t color) const {
    int n = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) n += At(x, y) != color;
    return n;
  }
};

// A window DC over client area (2, 3)-(8, 8), of which only (2, 3)-(5, 8) is visible.
TEST(SurfaceDC, DrawsAtTheOriginInsideTheClip) {
  Screen screen;
  const pda::gdi::Region visible(pda::gdi::Box{2, 3, 5, 8});
  HDC dc = pda::gdi::CreateSurfaceDC(screen.pixels, POINT{2, 3}, &visible);
  ASSERT_TRUE(dc);
  ASSERT_TRUE(PatBlt(dc, 0, 0, 100, 100, WHITENESS));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 3 && y < 8;
      EXPECT_EQ(screen.At(x, y), inside ? 0xFFFFFFu : 0u) << x << "," << y;
    }
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "client (0, 0) is screen (2, 3)";
  EXPECT_EQ(GetPixel(dc, 3, 0), CLR_INVALID) << "hidden part";
  // A bitmap cannot be selected into a window's context.
  gdi_test::UniqueObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, 2, 2));
  EXPECT_FALSE(SelectObject(dc, bitmap.get()));
  EXPECT_TRUE(pda::gdi::DeleteSurfaceDC(dc));
}

TEST(SurfaceDC, OriginAndClipCanChange) {
  Screen screen;
  HDC dc = pda::gdi::CreateSurfaceDC(screen.pixels, POINT{0, 0}, nullptr);
  ASSERT_TRUE(dc);
  ASSERT_TRUE(pda::gdi::SetSurfaceDCOrigin(dc, POINT{9, 9}));
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  EXPECT_EQ(screen.At(9, 9), 0xFF0000u);
  const pda::gdi::Region none;
  ASSERT_TRUE(pda::gdi::SetSurfaceDCClip(dc, &none));
  PatBlt(dc, -9, -9, 10, 10, WHITENESS);
  EXPECT_EQ(screen.CountNot(0), 1) << "an empty clip draws nothing";
  ASSERT_TRUE(pda::gdi::SetSurfaceDCClip(dc, nullptr));
  PatBlt(dc, -9, -9, 10, 10, WHITENESS);
  EXPECT_EQ(screen.CountNot(0xFFFFFFu), 0);
  EXPECT_TRUE(DeleteDC(dc));
}

// The application's clip is its own: when the window system later uncovers more of the window,
// drawing reaches the whole of the application's rectangle.
TEST(SurfaceDC, ApplicationClipOutlivesAWindowClipChange) {
  Screen screen;
  const pda::gdi::Region covered(pda::gdi::Box{0, 0, 2, 10});
  HDC dc = pda::gdi::CreateSurfaceDC(screen.pixels, POINT{0, 0}, &covered);
  ASSERT_NE(IntersectClipRect(dc, 0, 0, 5, 5), ERROR);
  ASSERT_TRUE(pda::gdi::SetSurfaceDCClip(dc, nullptr));
  PatBlt(dc, 0, 0, 10, 10, WHITENESS);
  EXPECT_EQ(screen.CountNot(0), 25);
  EXPECT_EQ(screen.At(4, 4), 0xFFFFFFu);
  DeleteDC(dc);
}

TEST(SurfaceDC, MemoryContextsAreNotSurfaceContexts) {
  gdi_test::UniqueDC memory(CreateCompatibleDC(nullptr));
  EXPECT_FALSE(pda::gdi::SetSurfaceDCOrigin(memory.get(), POINT{1, 1}));
  EXPECT_FALSE(pda::gdi::CreateSurfaceDC(nullptr, POINT{0, 0}, nullptr));
}

TEST(SurfaceDC, CopyFromMemoryToWindow) {
  Screen screen;
  HDC window = pda::gdi::CreateSurfaceDC(screen.pixels, POINT{4, 4}, nullptr);
  gdi_test::MemoryCanvas back(3, 3, RGB(0, 0, 255));
  ASSERT_TRUE(BitBlt(window, 0, 0, 3, 3, back.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(screen.At(4, 4), 0x0000FFu);
  EXPECT_EQ(screen.At(6, 6), 0x0000FFu);
  EXPECT_EQ(screen.At(7, 7), 0u);
  EXPECT_EQ(screen.CountNot(0), 9);
  DeleteDC(window);
}

}  // namespace
