// The host window's icon: which icon stands for a top-level window (its class's, else the largest
// image of its instance's lowest-numbered icon group), and its pixels handed to SDL in straight
// alpha.
#include <gtest/gtest.h>

#include <array>
#include <span>
#include <vector>

#include "backend/window_icon.h"
#include "pda/resources.h"
#include "pda/testing/user.h"
#include "png_fixture.h"

namespace {

using pda::resources_test::SolidPng;

LRESULT WINAPI Plain(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window (not shown) of a class of `instance`, the class holding `icon`.
HWND MakeWindow(HINSTANCE instance, const char16_t* className, HICON icon) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Plain;
  wc.hInstance = instance;
  wc.hIcon = icon.value;
  wc.lpszClassName = className;
  if (!RegisterClassW(&wc)) return HWND{};
  return CreateWindowExW(0, className, u"", 0, 0, 0, 10, 10, HWND{}, HANDLE{}, instance, nullptr);
}

TEST(WindowIcon, ClassIconElseLargestImageOfTheLowestGroupElseNone) {
  pda::testing::ChangeScreen(480, 640, 96);
  const HINSTANCE instance{0x7100};
  // Group 3 (the lowest) in two sizes, group 5 in one; each image a colour of its own.
  const auto green8 = SolidPng(8, 8, 0x00FF00FF), blue32 = SolidPng(32, 32, 0x0000FFFF),
             red16 = SolidPng(16, 16, 0xFF0000FF);
  const std::array<std::span<const std::uint8_t>, 2> group3{green8, blue32};
  const std::array<std::span<const std::uint8_t>, 1> group5{red16};
  const std::array<pda::IconResource, 2> icons{{{5, group5}, {3, group3}}};
  ASSERT_TRUE(pda::RegisterResources(instance, {.icons = icons}));
  const HICON classIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(5), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  ASSERT_TRUE(classIcon);

  struct Case {
    const char* name;
    HINSTANCE instance;
    const char16_t* className;
    HICON icon;
    int side;              // 0: no icon at all
    std::uint32_t colour;  // premultiplied ARGB at the centre
  };
  const Case cases[] = {
      {"the class's icon", instance, u"WithIcon", classIcon, 16, 0xFFFF0000},
      {"no class icon: group 3's largest image", instance, u"WithoutIcon", HICON{}, 32, 0xFF0000FF},
      {"an instance without icons", HINSTANCE{0x7101}, u"Bare", HICON{}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HWND window = MakeWindow(c.instance, c.className, c.icon);
    ASSERT_TRUE(window);
    const auto pixels = pda::backend::WindowIcon(window);
    if (c.side == 0) {
      EXPECT_EQ(pixels, nullptr);
    } else {
      ASSERT_NE(pixels, nullptr);
      EXPECT_EQ(pixels->width(), c.side);
      EXPECT_EQ(pixels->height(), c.side);
      EXPECT_EQ(pixels->row(c.side / 2)[c.side / 2], c.colour);
    }
    DestroyWindow(window);
  }
  DestroyIcon(classIcon);
}

TEST(WindowIcon, SurfaceHoldsTheIconInStraightAlpha) {
  struct Case {
    const char* name;
    std::uint32_t premultiplied;
    std::uint32_t straight;
  };
  const Case cases[] = {
      {"opaque: unchanged", 0xFF123456, 0xFF123456},
      {"transparent: all zero", 0x00000000, 0x00000000},
      {"half alpha: colours doubled", 0x80402010, 0x80804020},
      {"a little alpha: rounded to nearest", 0x10100804, 0x10FF8040},
      {"colour above its alpha: held at 255", 0x40FF4000, 0x40FFFF00},
  };
  auto pixels = pda::gdi::Pixels::Create(static_cast<int>(std::size(cases)), 2);
  ASSERT_TRUE(pixels);
  for (int x = 0; x < pixels->width(); ++x) {
    pixels->row(0)[x] = cases[x].premultiplied;
    pixels->row(1)[x] = cases[x].premultiplied;
  }
  const pda::backend::UniqueSdlSurface surface = pda::backend::IconSurface(*pixels);
  ASSERT_NE(surface, nullptr);
  ASSERT_EQ(surface->format->format, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_EQ(surface->w, pixels->width());
  ASSERT_EQ(surface->h, 2);
  for (int y = 0; y < 2; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < pixels->width(); ++x)
      EXPECT_EQ(row[x], cases[x].straight) << cases[x].name << ", row " << y;
  }
}

}  // namespace
