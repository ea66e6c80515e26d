// Regions: hit tests at the edges, combination, boxes, and regions as clips.
#include <gtest/gtest.h>

#include "gdi_fixtures.h"

namespace {

using gdi_test::UniqueObject;
using Rgn = UniqueObject<HRGN>;

TEST(PtInRegion, RightAndBottomEdgesAreOutside) {
  Rgn region(CreateRectRgn(10, 20, 30, 40));
  struct Case {
    int x, y;
    bool inside;
  };
  const Case cases[] = {
      {10, 20, true},  {29, 39, true},  {30, 20, false}, {10, 40, false},
      {9, 20, false},  {10, 19, false}, {29, 40, false}, {20, 30, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PtInRegion(region.get(), c.x, c.y) != FALSE, c.inside) << c.x << "," << c.y;
}

TEST(CreateRectRgn, CornersInAnyOrderAndEmptyRegions) {
  Rgn swapped(CreateRectRgn(30, 40, 10, 20));
  RECT box{};
  EXPECT_EQ(GetRgnBox(swapped.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.bottom, 40);
  Rgn empty(CreateRectRgn(5, 5, 5, 9));
  EXPECT_EQ(GetRgnBox(empty.get(), &box), NULLREGION);
  EXPECT_FALSE(PtInRegion(empty.get(), 5, 5));
}

TEST(CombineRgn, Modes) {
  struct Case {
    const char* name;
    int mode;
    int kind;
    RECT box;
    POINT in, out;
  };
  // a = [0,10) x [0,10), b = [5,15) x [0,10)
  const Case cases[] = {
      {"and", RGN_AND, SIMPLEREGION, {5, 0, 10, 10}, {5, 5}, {4, 5}},
      {"or", RGN_OR, SIMPLEREGION, {0, 0, 15, 10}, {14, 9}, {15, 0}},
      {"diff", RGN_DIFF, SIMPLEREGION, {0, 0, 5, 10}, {4, 0}, {5, 0}},
      {"xor", RGN_XOR, COMPLEXREGION, {0, 0, 15, 10}, {12, 3}, {7, 3}},
      {"copy", RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {9, 9}, {10, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 0, 15, 10)), out(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(out.get(), a.get(), b.get(), c.mode), c.kind);
    RECT box{};
    GetRgnBox(out.get(), &box);
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.right, c.box.right);
    EXPECT_EQ(box.bottom, c.box.bottom);
    EXPECT_TRUE(PtInRegion(out.get(), c.in.x, c.in.y));
    EXPECT_FALSE(PtInRegion(out.get(), c.out.x, c.out.y));
  }
}

TEST(CombineRgn, XorOfOverlappingSquaresKeepsTheirArea) {
  // Area check: |a xor b| = |a| + |b| - 2 |a and b|, counted pixel by pixel.
  Rgn a(CreateRectRgn(0, 0, 6, 6)), b(CreateRectRgn(3, 3, 9, 9)), x(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(x.get(), a.get(), b.get(), RGN_XOR);
  int area = 0;
  for (int py = 0; py < 10; ++py)
    for (int px = 0; px < 10; ++px) area += PtInRegion(x.get(), px, py) != FALSE;
  EXPECT_EQ(area, 36 + 36 - 2 * 9);
}

TEST(OffsetRgn, MovesAndSetRectRgnReplaces) {
  Rgn region(CreateRectRgn(0, 0, 2, 2));
  EXPECT_EQ(OffsetRgn(region.get(), 10, 5), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(region.get(), 11, 6));
  EXPECT_FALSE(PtInRegion(region.get(), 1, 1));
  EXPECT_TRUE(SetRectRgn(region.get(), 0, 0, 1, 1));
  EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.get(), 11, 6));
  Rgn same(CreateRectRgn(0, 0, 1, 1));
  EXPECT_TRUE(EqualRgn(region.get(), same.get()));
}

TEST(SelectClipRgn, ClipsDrawingAndCanBeLifted) {
  gdi_test::MemoryCanvas canvas(4, 4);
  Rgn clip(CreateRectRgn(0, 0, 2, 4));
  EXPECT_EQ(SelectClipRgn(canvas.dc(), clip.get()), SIMPLEREGION);
  // The context keeps its own copy: deleting the region does not change the clip.
  clip.reset();
  RECT box{};
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 2);
  BitBlt(canvas.dc(), 0, 0, 4, 4, nullptr, 0, 0, WHITENESS);
  SelectClipRgn(canvas.dc(), nullptr);
  EXPECT_EQ(canvas.CountNot(RGB(255, 255, 255), RECT{0, 0, 2, 4}), 0);
  EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0), RECT{2, 0, 4, 4}), 0);
}

}  // namespace
