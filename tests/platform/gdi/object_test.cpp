// Object lifetimes: selection, deletion while selected, stale handles, stock objects, GetObjectW.
#include <gtest/gtest.h>

#include "display/display.h"
#include "gdi_fixtures.h"

namespace {

using gdi_test::UniqueDC;
using gdi_test::UniqueObject;

TEST(MemoryDC, FreshContextHasAOneByOneBitmap) {
  UniqueDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc.get());
  HGDIOBJ stock = GetCurrentObject(dc.get(), OBJ_BITMAP);
  BITMAP info{};
  ASSERT_EQ(GetObjectW(stock, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 1);
  EXPECT_EQ(info.bmHeight, 1);
}

TEST(SelectObject, ReturnsThePreviousObjectOfTheSameKind) {
  UniqueDC dc(CreateCompatibleDC(nullptr));
  UniqueObject<HBITMAP> first(CreateCompatibleBitmap(dc.get(), 4, 4));
  UniqueObject<HBITMAP> second(CreateCompatibleBitmap(dc.get(), 4, 4));
  UniqueObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
  const HGDIOBJ stock = SelectObject(dc.get(), first.get());
  ASSERT_TRUE(stock);
  EXPECT_EQ(static_cast<HBITMAP>(SelectObject(dc.get(), second.get())), first.get());
  EXPECT_EQ(static_cast<HBRUSH>(SelectObject(dc.get(), brush.get())),
            static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(SelectObject(dc.get(), stock), HGDIOBJ(second.get()));
}

TEST(DeleteObject, RefusesWhileSelectedAndSucceedsAfterDeselecting) {
  UniqueDC dc(CreateCompatibleDC(nullptr));
  HBITMAP bitmap = CreateCompatibleBitmap(dc.get(), 2, 2);
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  ASSERT_TRUE(bitmap && font);
  const HGDIOBJ old_bitmap = SelectObject(dc.get(), bitmap);
  const HGDIOBJ old_font = SelectObject(dc.get(), font);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(font));
  SelectObject(dc.get(), old_bitmap);
  SelectObject(dc.get(), old_font);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(font));
}

TEST(DeleteObject, DeletingTheContextReleasesItsSelections) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
  SelectObject(dc, bitmap);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(StaleHandles, AreRefusedEverywhere) {
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  ASSERT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "second delete";
  UniqueDC dc(CreateCompatibleDC(nullptr));
  EXPECT_FALSE(SelectObject(dc.get(), brush));
  const RECT r{0, 0, 1, 1};
  EXPECT_EQ(FillRect(dc.get(), &r, brush), 0);

  HDC gone = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(DeleteDC(gone));
  EXPECT_FALSE(DeleteDC(gone));
  EXPECT_EQ(GetPixel(gone, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetTextColor(gone, 0), CLR_INVALID);
}

TEST(StaleHandles, AHandleOfAnotherKindIsRefused) {
  UniqueDC dc(CreateCompatibleDC(nullptr));
  UniqueObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 1, 1)));
  // A brush passed where a font is expected must not be taken for one.
  HFONT not_a_font{brush.get().value};
  EXPECT_EQ(GetObjectW(not_a_font, sizeof(LOGFONTW), nullptr), 0);
  const RECT r{0, 0, 1, 1};
  EXPECT_EQ(FillRect(dc.get(), &r, HBRUSH{dc.get().value}), 0);
}

TEST(Bitmaps, OneBitmapIsSelectedIntoOneContextAtATime) {
  UniqueDC a(CreateCompatibleDC(nullptr));
  UniqueDC b(CreateCompatibleDC(nullptr));
  UniqueObject<HBITMAP> bitmap(CreateCompatibleBitmap(a.get(), 3, 3));
  ASSERT_TRUE(SelectObject(a.get(), bitmap.get()));
  EXPECT_FALSE(SelectObject(b.get(), bitmap.get()));
}

TEST(Bitmaps, SizesAndRefusals) {
  struct Case {
    const char* name;
    int width, height;
    bool made;
    int made_width, made_height;
  };
  const Case cases[] = {
      {"ordinary", 43, 38, true, 43, 38},
      {"zero width gives one pixel", 0, 5, true, 1, 1},
      {"negative refused", -1, 5, false, 0, 0},
      {"absurd refused", 100000, 100000, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UniqueObject<HBITMAP> bitmap(CreateCompatibleBitmap(nullptr, c.width, c.height));
    ASSERT_EQ(static_cast<bool>(bitmap), c.made);
    if (!c.made) continue;
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bitmap.get(), sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, c.made_width);
    EXPECT_EQ(info.bmHeight, c.made_height);
    EXPECT_EQ(info.bmBitsPixel, 32);
  }
}

TEST(StockObjects, AreSharedAndSurviveDeletion) {
  const HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  ASSERT_TRUE(white);
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
  EXPECT_TRUE(DeleteObject(white));
  gdi_test::MemoryCanvas canvas(2, 2);
  const RECT r{0, 0, 2, 2};
  EXPECT_TRUE(FillRect(canvas.dc(), &r, static_cast<HBRUSH>(white)));
  EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 255));
  FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 0));
  EXPECT_TRUE(GetStockObject(SYSTEM_FONT));
  EXPECT_FALSE(GetStockObject(99));
}

TEST(GetObjectW, FontGivesBackItsLogfont) {
  UniqueObject<HFONT> font(
      CreateFontW(-20, 0, 0, 0, FW_SEMIBOLD, 0, 1, 0, EASTEUROPE_CHARSET, 6, 0,
                  CLEARTYPE_QUALITY, 0, u"Tahoma"));
  ASSERT_TRUE(font);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(font.get(), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_SEMIBOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfCharSet, EASTEUROPE_CHARSET);
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
}

TEST(DeviceCaps, AnswerWithTheScreen) {
  pda::display::SetScreen({240, 320, 96});
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 240);
  EXPECT_EQ(GetDeviceCaps(nullptr, VERTRES), 320);
  pda::display::SetScreen({480, 640, 192});
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 192);
  EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 480);
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 32);
}

}  // namespace
