// Fills, block copies, colour-key copies, constant-alpha blends and gradients on tiny bitmaps,
// checked pixel by pixel where the arithmetic is exact.
#include <gtest/gtest.h>

#include "gdi_fixtures.h"

namespace {

using gdi_test::MemoryCanvas;
using gdi_test::UniqueObject;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(ColorRef, PacksBlueGreenRed) {
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
  EXPECT_EQ(GetRValue(0x00563412u), 0x12);
  EXPECT_EQ(GetGValue(0x00563412u), 0x34);
  EXPECT_EQ(GetBValue(0x00563412u), 0x56);
}

TEST(FillRect, FillsHalfOpenRectOnly) {
  MemoryCanvas canvas(6, 6);
  UniqueObject<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT rect{1, 2, 4, 5};
  ASSERT_TRUE(FillRect(canvas.dc(), &rect, red.get()));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 2 && y < 5;
      EXPECT_EQ(canvas.At(x, y), inside ? kRed : kBlack) << x << "," << y;
    }
}

TEST(FillRect, StaysInsideTheBitmap) {
  MemoryCanvas canvas(4, 4);
  UniqueObject<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT huge{-100, -100, 100, 100};
  ASSERT_TRUE(FillRect(canvas.dc(), &huge, red.get()));
  EXPECT_EQ(canvas.CountNot(kRed), 0);
  EXPECT_EQ(canvas.At(4, 0), CLR_INVALID);  // outside reads as invalid, not as memory
}

TEST(FillRect, HonoursTheClipRegion) {
  MemoryCanvas canvas(6, 6);
  ASSERT_NE(IntersectClipRect(canvas.dc(), 2, 2, 4, 4), ERROR);
  UniqueObject<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT all{0, 0, 6, 6};
  FillRect(canvas.dc(), &all, red.get());
  SelectClipRgn(canvas.dc(), nullptr);  // reads are clipped too: lift the clip first
  EXPECT_EQ(canvas.CountNot(kBlack, RECT{0, 0, 6, 6}), 4);
  EXPECT_EQ(canvas.CountNot(kRed, RECT{2, 2, 4, 4}), 0);
}

TEST(FillRect, NullBrushPaintsNothing) {
  MemoryCanvas canvas(3, 3, kBlue);
  const RECT all{0, 0, 3, 3};
  EXPECT_TRUE(FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
  EXPECT_EQ(canvas.CountNot(kBlue), 0);
}

TEST(PatBlt, RasterOperations) {
  struct Case {
    const char* name;
    DWORD rop;
    COLORREF before;
    COLORREF after;
  };
  const Case cases[] = {
      {"blackness", BLACKNESS, kWhite, kBlack},
      {"whiteness", WHITENESS, kBlack, kWhite},
      {"dstinvert", DSTINVERT, RGB(0x10, 0x20, 0x30), RGB(0xEF, 0xDF, 0xCF)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryCanvas canvas(3, 3, c.before);
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 1, 1, 1, nullptr, 0, 0, c.rop));
    EXPECT_EQ(canvas.At(1, 1), c.after);
    EXPECT_EQ(canvas.At(0, 0), c.before);
  }
}

TEST(BitBlt, CopiesTheSourceBoxToTheDestination) {
  MemoryCanvas source(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      SetPixel(source.dc(), x, y, RGB(static_cast<BYTE>(x * 10), static_cast<BYTE>(y * 10), 7));
  MemoryCanvas destination(5, 5, kWhite);
  ASSERT_TRUE(BitBlt(destination.dc(), 2, 1, 2, 3, source.dc(), 1, 0, SRCCOPY));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool inside = x >= 2 && x < 4 && y >= 1 && y < 4;
      const COLORREF want =
          inside ? RGB(static_cast<BYTE>((x - 1) * 10), static_cast<BYTE>((y - 1) * 10), 7) : kWhite;
      EXPECT_EQ(destination.At(x, y), want) << x << "," << y;
    }
}

TEST(BitBlt, SourceOutsideItsBitmapCopiesOnlyTheInsidePart) {
  MemoryCanvas source(2, 2, kRed);
  MemoryCanvas destination(4, 4, kWhite);
  ASSERT_TRUE(BitBlt(destination.dc(), 0, 0, 4, 4, source.dc(), -1, -1, SRCCOPY));
  EXPECT_EQ(destination.CountNot(kRed, RECT{1, 1, 3, 3}), 0);
  EXPECT_EQ(destination.CountNot(kWhite), 4);
}

TEST(BitBlt, OverlappingCopyWithinOneBitmap) {
  MemoryCanvas canvas(5, 1);
  for (int x = 0; x < 5; ++x) SetPixel(canvas.dc(), x, 0, RGB(static_cast<BYTE>(x + 1), 0, 0));
  ASSERT_TRUE(BitBlt(canvas.dc(), 1, 0, 4, 1, canvas.dc(), 0, 0, SRCCOPY));
  const BYTE want[] = {1, 1, 2, 3, 4};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(GetRValue(canvas.At(x, 0)), want[x]) << x;
}

// Whole rows copied before are skipped when known to be unchanged on both sides: every way of
// drawing into either bitmap must make the next copy copy again.
TEST(BitBlt, ACopyAgainFollowsEveryDrawingSinceTheLastOne) {
  struct Case {
    const char* what;
    bool intoSource;  // else into the destination
    void (*draw)(HDC dc);
  };
  static const Case cases[] = {
      {"FillRect", true, [](HDC dc) {
         const pda::UniqueBrush brush(CreateSolidBrush(kRed));
         const RECT r{1, 1, 2, 2};
         FillRect(dc, &r, brush.get());
       }},
      {"SetPixel", true, [](HDC dc) { SetPixel(dc, 3, 2, kRed); }},
      {"PatBlt", true, [](HDC dc) { PatBlt(dc, 0, 1, 1, 1, DSTINVERT); }},
      {"GradientFill", true, [](HDC dc) {
         TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {4, 3, 0, 0, 0xFF00, 0}};
         GRADIENT_RECT mesh{0, 1};
         GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
       }},
      {"StretchBlt within", true, [](HDC dc) {
         SetPixel(dc, 0, 0, kRed);
         StretchBlt(dc, 2, 1, 2, 2, dc, 0, 0, 1, 1, SRCCOPY);
       }},
      {"BitBlt within", true, [](HDC dc) {
         SetPixel(dc, 0, 0, kRed);
         BitBlt(dc, 0, 2, 4, 1, dc, 0, 0, SRCCOPY);
       }},
      {"FillRect", false, [](HDC dc) {
         const pda::UniqueBrush brush(CreateSolidBrush(kRed));
         const RECT r{0, 2, 4, 3};
         FillRect(dc, &r, brush.get());
       }},
      {"SetPixel", false, [](HDC dc) { SetPixel(dc, 3, 0, kRed); }},
  };
  for (const Case& c : cases) {
    MemoryCanvas source(4, 3, kWhite), middle(4, 3), destination(4, 3);
    // Twice, so that the rows are known to match before the drawing.
    for (int i = 0; i < 2; ++i) {
      BitBlt(middle.dc(), 0, 0, 4, 3, source.dc(), 0, 0, SRCCOPY);
      BitBlt(destination.dc(), 0, 0, 4, 3, middle.dc(), 0, 0, SRCCOPY);
    }
    c.draw(c.intoSource ? source.dc() : destination.dc());
    BitBlt(middle.dc(), 0, 0, 4, 3, source.dc(), 0, 0, SRCCOPY);
    BitBlt(destination.dc(), 0, 0, 4, 3, middle.dc(), 0, 0, SRCCOPY);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(destination.At(x, y), source.At(x, y))
            << c.what << (c.intoSource ? " into the source" : " into the destination") << " at "
            << x << "," << y;
  }
}

TEST(StretchBlt, DoublesEachPixel) {
  MemoryCanvas source(2, 1);
  SetPixel(source.dc(), 0, 0, kRed);
  SetPixel(source.dc(), 1, 0, kBlue);
  MemoryCanvas destination(4, 2);
  ASSERT_TRUE(StretchBlt(destination.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 2, 1, SRCCOPY));
  const COLORREF want[] = {kRed, kRed, kBlue, kBlue};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(destination.At(x, y), want[x]) << x << "," << y;
}

// A 4x4 icon: black border, red inside. The key copy must leave the destination where the
// border was and copy the inside.
TEST(TransparentImage, BlackBorderLeavesTheDestinationVisible) {
  MemoryCanvas icon(4, 4, kBlack);
  UniqueObject<HBRUSH> red(CreateSolidBrush(kRed));
  const RECT inside{1, 1, 3, 3};
  FillRect(icon.dc(), &inside, red.get());
  MemoryCanvas destination(6, 6, kBlue);
  ASSERT_TRUE(TransparentImage(destination.dc(), 1, 1, 4, 4, icon.dc(), 0, 0, 4, 4, kBlack));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool copied = x >= 2 && x < 4 && y >= 2 && y < 4;
      EXPECT_EQ(destination.At(x, y), copied ? kRed : kBlue) << x << "," << y;
    }
}

TEST(TransparentBlt, KeyIsAnyColourAndOnlyExactMatchesAreLeftOut) {
  MemoryCanvas source(3, 1);
  SetPixel(source.dc(), 0, 0, RGB(0, 255, 0));
  SetPixel(source.dc(), 1, 0, RGB(0, 254, 0));
  SetPixel(source.dc(), 2, 0, kRed);
  MemoryCanvas destination(3, 1, kWhite);
  ASSERT_TRUE(TransparentBlt(destination.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 3, 1,
                             RGB(0, 255, 0)));
  EXPECT_EQ(destination.At(0, 0), kWhite);
  EXPECT_EQ(destination.At(1, 0), RGB(0, 254, 0));
  EXPECT_EQ(destination.At(2, 0), kRed);
}

TEST(AlphaBlend, ConstantAlphaOverOpaqueDestination) {
  struct Case {
    const char* name;
    BYTE alpha;
    COLORREF result;
  };
  // Black over white: 255 x (1 - alpha / 255).
  const Case cases[] = {
      {"alpha 200 dims white to 55", 200, RGB(55, 55, 55)},
      {"alpha 0 leaves the destination", 0, kWhite},
      {"alpha 255 replaces the destination", 255, kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryCanvas dim(3, 3, kBlack);
    MemoryCanvas screen(3, 3, kWhite);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, c.alpha, 0};
    ASSERT_TRUE(AlphaBlend(screen.dc(), 0, 0, 3, 3, dim.dc(), 0, 0, 3, 3, blend));
    EXPECT_EQ(screen.CountNot(c.result), 0);
  }
}

TEST(AlphaBlend, RefusesStretching) {
  MemoryCanvas a(2, 2), b(2, 2);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, 0};
  EXPECT_FALSE(AlphaBlend(a.dc(), 0, 0, 2, 2, b.dc(), 0, 0, 1, 1, blend));
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF c) {
  return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(c) << 8),
                   static_cast<COLOR16>(GetGValue(c) << 8),
                   static_cast<COLOR16>(GetBValue(c) << 8), 0};
}

// The main screen's background colours, on heights where row 0 and the last row are exact.
TEST(GradientFill, VerticalEndRowsAreTheVertexColoursAndTheMiddleIsMonotonic) {
  const COLORREF top = RGB(92, 98, 104);
  const COLORREF bottom = RGB(46, 54, 66);
  for (int height : {2, 3, 7, 64, 640}) {
    SCOPED_TRACE(height);
    MemoryCanvas canvas(3, height, kWhite);
    TRIVERTEX v[2] = {Vertex(0, 0, top), Vertex(3, height, bottom)};
    GRADIENT_RECT rect{0, 1};
    ASSERT_TRUE(GradientFill(canvas.dc(), v, 2, &rect, 1, GRADIENT_FILL_RECT_V));
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(canvas.At(x, 0), top);
      EXPECT_EQ(canvas.At(x, height - 1), bottom);
    }
    for (int y = 1; y < height; ++y) {
      const COLORREF above = canvas.At(0, y - 1), here = canvas.At(0, y);
      EXPECT_LE(GetRValue(here), GetRValue(above)) << y;
      EXPECT_LE(GetGValue(here), GetGValue(above)) << y;
      EXPECT_LE(GetBValue(here), GetBValue(above)) << y;
      EXPECT_EQ(canvas.At(2, y), here) << "rows are uniform";
    }
  }
}

TEST(GradientFill, HorizontalEndColumnsAndClipToTheRectangle) {
  MemoryCanvas canvas(8, 2, kBlue);
  TRIVERTEX v[2] = {Vertex(1, 0, kBlack), Vertex(7, 1, kWhite)};
  GRADIENT_RECT rect{0, 1};
  ASSERT_TRUE(GradientFill(canvas.dc(), v, 2, &rect, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(canvas.At(0, 0), kBlue);
  EXPECT_EQ(canvas.At(1, 0), kBlack);
  EXPECT_EQ(canvas.At(6, 0), kWhite);
  EXPECT_EQ(canvas.At(7, 0), kBlue);
  EXPECT_EQ(canvas.At(3, 1), kBlue) << "the second row is outside the rectangle";
  for (int x = 2; x < 7; ++x) EXPECT_GE(GetRValue(canvas.At(x, 0)), GetRValue(canvas.At(x - 1, 0)));
}

TEST(GradientFill, RefusesTrianglesAndBadVertexIndices) {
  MemoryCanvas canvas(2, 2);
  TRIVERTEX v[2] = {Vertex(0, 0, kBlack), Vertex(2, 2, kWhite)};
  GRADIENT_RECT bad{0, 2};
  EXPECT_FALSE(GradientFill(canvas.dc(), v, 2, &bad, 1, GRADIENT_FILL_RECT_V));
  GRADIENT_RECT good{0, 1};
  EXPECT_FALSE(GradientFill(canvas.dc(), v, 2, &good, 1, GRADIENT_FILL_TRIANGLE));
}

TEST(SetPixel, OutsideTheBitmapIsRefused) {
  MemoryCanvas canvas(2, 2);
  EXPECT_EQ(SetPixel(canvas.dc(), 2, 0, kRed), CLR_INVALID);
  EXPECT_EQ(SetPixel(canvas.dc(), -1, 0, kRed), CLR_INVALID);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 1, kRed), kRed);
  EXPECT_EQ(canvas.CountNot(kBlack), 1);
}

}  // namespace
