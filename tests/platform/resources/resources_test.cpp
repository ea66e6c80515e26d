// Resources: bitmaps decoded to their exact pixels, icons chosen and scaled by size and drawn
// with their alpha, menus and accelerator tables and strings from the registered tables.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "gdi/pixels.h"
#include "memory_canvas.h"
#include "pda/gdi.h"
#include "pda/owners.h"
#include "pda/resources.h"
#include "pda/testing/user.h"
#include "png_fixture.h"
#include "resources/icons.h"
#include "user_fixture.h"

namespace pda::resources_test {
namespace {

// Each test registers under an instance of its own, so tests do not see each other's tables.
HINSTANCE FreshInstance() {
  static std::uint32_t next = 0x7000;
  return HINSTANCE{++next};
}

using Canvas = test_support::MemoryCanvas;

// The colour of a pixel of a bitmap, read through a memory context.
COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  const pda::UniqueMemoryDC dc(CreateCompatibleDC(HDC{}));
  const pda::ScopedSelect selected(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

SIZE IconSize(HICON icon) {
  auto pixels = pda::resources::IconPixels(icon);
  return pixels ? SIZE{pixels->width(), pixels->height()} : SIZE{0, 0};
}

::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance = 2) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "colour 0x" << actual << ", expected 0x"
                                         << expected;
  }
  return ::testing::AssertionSuccess();
}

// ---- bitmaps -------------------------------------------------------------------------------

TEST(LoadBitmap, HasThePngsExactSizeAndPixels) {
  const HINSTANCE instance = FreshInstance();
  // Each pixel a different colour, so a flipped or shifted decode shows.
  const auto png = MakePng(3, 2, [](int x, int y) {
    return (static_cast<std::uint32_t>(40 + 60 * x) << 24) |
           (static_cast<std::uint32_t>(10 + 100 * y) << 16) | (0x33u << 8) | 0xFFu;
  });
  const std::array<BitmapResource, 1> bitmaps{{{10000, png}}};
  ASSERT_TRUE(RegisterResources(instance, {.bitmaps = bitmaps}));

  const HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(10000));
  ASSERT_TRUE(bitmap);
  const SIZE size = BitmapSize(bitmap);
  EXPECT_EQ(size.cx, 3);
  EXPECT_EQ(size.cy, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(PixelOf(bitmap, x, y), RGB(static_cast<BYTE>(40 + 60 * x),
                                           static_cast<BYTE>(10 + 100 * y), 0x33))
          << x << "," << y;
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(LoadBitmap, EveryCallGivesTheCallerABitmapOfItsOwn) {
  const HINSTANCE instance = FreshInstance();
  const auto png = SolidPng(2, 2, 0x102030FF);
  const std::array<BitmapResource, 1> bitmaps{{{10010, png}}};
  ASSERT_TRUE(RegisterResources(instance, {.bitmaps = bitmaps}));

  const HBITMAP first = LoadBitmapW(instance, MAKEINTRESOURCEW(10010));
  const HBITMAP second = LoadBitmapW(instance, MAKEINTRESOURCEW(10010));
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_NE(first.value, second.value);
  // Drawing into one must not reach the other (or the cached decode).
  {
    const pda::UniqueMemoryDC dc(CreateCompatibleDC(HDC{}));
    const pda::ScopedSelect selected(dc.get(), first);
    SetPixel(dc.get(), 0, 0, RGB(255, 255, 255));
  }
  EXPECT_EQ(PixelOf(second, 0, 0), RGB(0x10, 0x20, 0x30));
  const HBITMAP third = LoadBitmapW(instance, MAKEINTRESOURCEW(10010));
  EXPECT_EQ(PixelOf(third, 0, 0), RGB(0x10, 0x20, 0x30));
  for (HBITMAP b : {first, second, third}) DeleteObject(b);
}

TEST(LoadBitmap, TransparentArtIsComposedOverBlack) {
  const HINSTANCE instance = FreshInstance();
  const auto png = MakePng(2, 1, [](int x, int) { return x == 0 ? 0xFF000000u : 0xFF0000FFu; });
  const std::array<BitmapResource, 1> bitmaps{{{10020, png}}};
  ASSERT_TRUE(RegisterResources(instance, {.bitmaps = bitmaps}));
  const HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(10020));
  EXPECT_EQ(PixelOf(bitmap, 0, 0), RGB(0, 0, 0));  // the platform's key colour
  EXPECT_EQ(PixelOf(bitmap, 1, 0), RGB(255, 0, 0));
  DeleteObject(bitmap);
}

TEST(LoadBitmap, LoadImageGivesTheSameBitmapAtItsOwnSizeOnly) {
  const HINSTANCE instance = FreshInstance();
  const auto png = SolidPng(4, 5, 0x00FF00FF);
  const std::array<BitmapResource, 1> bitmaps{{{10030, png}}};
  ASSERT_TRUE(RegisterResources(instance, {.bitmaps = bitmaps}));
  const HBITMAP any = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(10030), IMAGE_BITMAP, 0, 0, 0));
  const HBITMAP exact = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(10030), IMAGE_BITMAP, 4, 5, 0));
  ASSERT_TRUE(any);
  ASSERT_TRUE(exact);
  EXPECT_EQ(BitmapSize(exact).cy, 5);
  EXPECT_FALSE(LoadImageW(instance, MAKEINTRESOURCEW(10030), IMAGE_BITMAP, 8, 10, 0));
  DeleteObject(any);
  DeleteObject(exact);
}

struct MissingCase {
  const char* name;
  HINSTANCE instance;
  LPCWSTR resource;
};

TEST(LoadBitmap, AbsentResourcesAreNotFound) {
  const HINSTANCE instance = FreshInstance();
  const auto png = SolidPng(1, 1, 0xFFFFFFFF);
  const std::array<BitmapResource, 1> bitmaps{{{10040, png}}};
  ASSERT_TRUE(RegisterResources(instance, {.bitmaps = bitmaps}));
  const MissingCase cases[] = {
      {"another number", instance, MAKEINTRESOURCEW(10041)},
      {"another instance", FreshInstance(), MAKEINTRESOURCEW(10040)},
      {"a name instead of a number", instance, u"BITMAP10040"},
  };
  for (const MissingCase& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(LoadBitmapW(c.instance, c.resource)) << c.name;
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND) << c.name;
  }
}

TEST(RegisterResources, AnUnreadableImageRegistersNothingOfTheTable) {
  const HINSTANCE instance = FreshInstance();
  const auto good = SolidPng(1, 1, 0xFFFFFFFF);
  const std::vector<std::uint8_t> junk{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::array<BitmapResource, 1> bitmaps{{{10050, good}}};
  const std::array<std::span<const std::uint8_t>, 1> images{junk};
  const std::array<IconResource, 1> icons{{{97, images}}};
  EXPECT_FALSE(RegisterResources(instance, {.bitmaps = bitmaps, .icons = icons}));
  EXPECT_FALSE(LoadBitmapW(instance, MAKEINTRESOURCEW(10050)));
}

// ---- icons ---------------------------------------------------------------------------------

class IconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(480, 640, 192);
    instance_ = FreshInstance();
    // Group 97 in three sizes, each a colour of its own so the chosen image shows.
    png16_ = SolidPng(16, 16, 0xFF0000FF);
    png32_ = SolidPng(32, 32, 0x00FF00FF);
    png64_ = SolidPng(64, 64, 0x0000FFFF);
    images_ = {png16_, png32_, png64_};
    icons_ = {{{97, images_}}};
    ASSERT_TRUE(RegisterResources(instance_, {.icons = icons_}));
  }
  // The colour at the icon's centre, drawn onto black.
  COLORREF CentreColour(HICON icon) {
    const SIZE size = IconSize(icon);
    Canvas canvas(size.cx, size.cy, RGB(0, 0, 0));
    EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, icon));
    return GetPixel(canvas.dc(), size.cx / 2, size.cy / 2);
  }

  HINSTANCE instance_;
  std::vector<std::uint8_t> png16_, png32_, png64_;
  std::array<std::span<const std::uint8_t>, 3> images_;
  std::array<IconResource, 1> icons_;
};

TEST_F(IconTest, LoadImageChoosesTheAskedSizeOrScalesTheNearestLargerOne) {
  struct Case {
    const char* name;
    int asked;
    COLORREF from;  // the colour of the image it must come from
  };
  const Case cases[] = {
      {"exact 16 from the 16 image", 16, RGB(255, 0, 0)},
      {"exact 32 from the 32 image", 32, RGB(0, 255, 0)},
      {"exact 64 from the 64 image", 64, RGB(0, 0, 255)},
      {"24 scaled down from 32", 24, RGB(0, 255, 0)},
      {"48 scaled down from 64", 48, RGB(0, 0, 255)},
      {"96 scaled up from the largest", 96, RGB(0, 0, 255)},
      {"8 scaled down from 16", 8, RGB(255, 0, 0)},
  };
  for (const Case& c : cases) {
    const HICON icon = static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(97), IMAGE_ICON, c.asked, c.asked, 0));
    ASSERT_TRUE(icon) << c.name;
    EXPECT_EQ(IconSize(icon).cx, c.asked) << c.name;
    EXPECT_EQ(IconSize(icon).cy, c.asked) << c.name;
    EXPECT_TRUE(Near(CentreColour(icon), c.from)) << c.name;
    EXPECT_TRUE(DestroyIcon(icon)) << c.name;
  }
}

TEST_F(IconTest, LoadIconTakesTheSystemSizeOfTheScreen) {
  for (auto [dpi, size] : {std::pair{96, 32}, std::pair{192, 64}}) {
    pda::testing::ChangeScreen(480, 640, dpi);
    const HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(97));
    EXPECT_EQ(IconSize(icon).cx, size) << dpi;
    DestroyIcon(icon);
  }
}

TEST_F(IconTest, ADestroyedIconIsGone) {
  const HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(97));
  ASSERT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  Canvas canvas(4, 4, RGB(0, 0, 0));
  EXPECT_FALSE(DrawIcon(canvas.dc(), 0, 0, icon));
}

TEST(DrawIcon, KeepsTheIconsAlpha) {
  const HINSTANCE instance = FreshInstance();
  // Opaque red, fully transparent, half-transparent blue.
  const auto png = MakePng(3, 1, [](int x, int) {
    return x == 0 ? 0xFF0000FFu : x == 1 ? 0x00FF0000u : 0x0000FF80u;
  });
  const std::array<std::span<const std::uint8_t>, 1> images{png};
  const std::array<IconResource, 1> icons{{{98, images}}};
  ASSERT_TRUE(RegisterResources(instance, {.icons = icons}));
  const HICON icon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(98), IMAGE_ICON, 3, 1, 0));
  ASSERT_TRUE(icon);

  Canvas canvas(5, 3, RGB(255, 255, 255));
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 1, 1, icon, 0, 0, 0, HBRUSH{}, DI_NORMAL));
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(canvas.dc(), 2, 1), RGB(255, 255, 255));  // the background shows through
  EXPECT_TRUE(Near(GetPixel(canvas.dc(), 3, 1), RGB(127, 127, 255)));
  EXPECT_EQ(GetPixel(canvas.dc(), 0, 1), RGB(255, 255, 255));  // nothing outside the icon
  EXPECT_EQ(GetPixel(canvas.dc(), 4, 1), RGB(255, 255, 255));
  DestroyIcon(icon);
}

TEST(DrawIcon, ScalingKeepsAUniformColourAndItsCoverage) {
  const HINSTANCE instance = FreshInstance();
  // A quarter-opaque icon: scaled by any factor, every pixel keeps that blend.
  const auto png = SolidPng(7, 7, 0x00C04040u);
  const std::array<std::span<const std::uint8_t>, 1> images{png};
  const std::array<IconResource, 1> icons{{{99, images}}};
  ASSERT_TRUE(RegisterResources(instance, {.icons = icons}));
  const HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(99), IMAGE_ICON, 7, 7, 0));
  for (int size : {3, 7, 10, 16}) {
    Canvas canvas(size, size, RGB(0, 0, 0));
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, HBRUSH{}, DI_NORMAL));
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        ASSERT_TRUE(Near(GetPixel(canvas.dc(), x, y), RGB(0, 0xC0 / 4, 0x40 / 4)))
            << size << " at " << x << "," << y;
  }
  DestroyIcon(icon);
}

// ---- menus, accelerators, strings ----------------------------------------------------------

TEST(LoadMenu, GivesTheItemsInOrderWithTheirCommandsTextsAndFlags) {
  const HINSTANCE instance = FreshInstance();
  const MenuItemResource popup[] = {{501, u"Copy", MF_STRING}, {0, nullptr, MF_SEPARATOR},
                                    {502, u"Paste", MF_GRAYED}};
  const MenuItemResource main[] = {{40100, u"Exit", MF_STRING}, {2000, u"Settings", MF_STRING}};
  const MenuItemResource edit[] = {{0, u"Edit", MF_POPUP, popup}, {40120, u"Save", MF_STRING}};
  const std::array<MenuResource, 2> menus{{{40001, main}, {40005, edit}}};
  ASSERT_TRUE(RegisterResources(instance, {.menus = menus}));

  const HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(40001));
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  char16_t text[32];
  EXPECT_EQ(GetMenuItemID(menu, 0), 40100u);
  EXPECT_EQ(GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION), 4);
  EXPECT_EQ(std::u16string(text), u"Exit");
  EXPECT_EQ(GetMenuItemID(menu, 1), 2000u);
  GetMenuStringW(menu, 1, text, 32, MF_BYPOSITION);
  EXPECT_EQ(std::u16string(text), u"Settings");

  const HMENU nested = LoadMenuW(instance, MAKEINTRESOURCEW(40005));
  const HMENU sub = GetSubMenu(nested, 0);
  ASSERT_TRUE(sub);
  EXPECT_EQ(GetMenuItemID(nested, 0), 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuItemCount(sub), 3);
  EXPECT_EQ(GetMenuState(sub, 1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(nested, 502, MF_BYCOMMAND), MF_GRAYED);  // found inside the popup
  // Each load is a menu of its own.
  const HMENU again = LoadMenuW(instance, MAKEINTRESOURCEW(40001));
  EXPECT_NE(again.value, menu.value);
  EXPECT_FALSE(LoadMenuW(instance, MAKEINTRESOURCEW(40002)));
  for (HMENU m : {menu, nested, again}) EXPECT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(IsMenu(sub));
}

class AcceleratorResourceTest : public pda::user_test::UserTest {};

TEST_F(AcceleratorResourceTest, CtrlQFromTheRegisteredTableBecomesItsCommand) {
  const HINSTANCE instance = FreshInstance();
  const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'Q', 40100},
                           {FVIRTKEY | FCONTROL, 'D', 40998},
                           {FVIRTKEY | FCONTROL, 'N', 40999}};
  const std::array<AcceleratorResource, 1> tables{{{40997, entries}}};
  ASSERT_TRUE(RegisterResources(instance, {.accelerators = tables}));
  const HACCEL table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(40997));
  ASSERT_TRUE(table);

  const HWND window = Make(WS_VISIBLE);
  std::vector<WPARAM> commands;
  pda::user_test::Recorder::Get().On(WM_COMMAND, [&](HWND, WPARAM wParam, LPARAM) {
    commands.push_back(wParam);
    return LRESULT{0};
  });
  // The key state follows the key messages taken from the queue: Ctrl goes down first.
  PostMessageW(window, WM_KEYDOWN, VK_CONTROL, 0);
  MSG msg{};
  do ASSERT_TRUE(GetMessageW(&msg, HWND{}, 0, 0));
  while (msg.message != WM_KEYDOWN);
  const MSG q{window, WM_KEYDOWN, 'Q', 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateAcceleratorW(window, table, &q));
  const MSG plainX{window, WM_KEYDOWN, 'X', 0, 0, {0, 0}};
  EXPECT_FALSE(TranslateAcceleratorW(window, table, &plainX));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0]), 40100);
}

TEST(LoadString, CopiesCutsAndLendsTheString) {
  const HINSTANCE instance = FreshInstance();
  const std::array<StringResource, 1> strings{{{300, u"Zazorudu"}}};
  ASSERT_TRUE(RegisterResources(instance, {.strings = strings}));
  char16_t buffer[5];
  EXPECT_EQ(LoadStringW(instance, 300, buffer, 5), 4);
  EXPECT_EQ(std::u16string(buffer), u"Zazo");
  LPCWSTR lent = nullptr;
  EXPECT_EQ(LoadStringW(instance, 300, reinterpret_cast<LPWSTR>(&lent), 0), 8);
  EXPECT_EQ(std::u16string(lent), u"Zazorudu");
  EXPECT_EQ(LoadStringW(instance, 301, buffer, 5), 0);
}

}  // namespace
}  // namespace pda::resources_test
