// The shell's painters on memory contexts: the dark bars, white text where there is text, icons
// at their places, the pressed soft key lit, and every key of the panel drawn.
#include <gtest/gtest.h>

#include <memory>

#include "memory_canvas.h"
#include "pda/testing/user.h"
#include "resources/image_ops.h"
#include "shell/bar_look.h"

namespace {

using namespace pda::shell;

class Surface : public test_support::MemoryCanvas {
 public:
  Surface(int width, int height) : MemoryCanvas(width, height) {}
  // How many pixels of the area are near white.
  int WhiteIn(const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        const COLORREF c = At(x, y);
        if (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200) ++count;
      }
    return count;
  }
};

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

class BarLookTest : public ::testing::Test {
 protected:
  void SetUp() override { pda::testing::ChangeScreen(240, 320, 96); }
};

TEST_F(BarLookTest, NavigationBarIsDarkWithWhiteTitleAndClockAndItsIcons) {
  Surface s(240, 26);
  auto red = pda::gdi::Pixels::Create(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) red->row(y)[x] = 0xFFFF0000u;  // opaque red, premultiplied
  NavigationBarView view{u"Zazorudu", u"12:34", {std::make_shared<const pda::gdi::Pixels>(std::move(*red))}};
  PaintNavigationBar(s.dc(), s.rect(), view);
  const NavigationBarLayout layout = LayOutNavigationBar(s.rect(), 1);

  EXPECT_LT(Brightness(GetPixel(s.dc(), 120, 24)), 150);  // dark background
  EXPECT_GT(s.WhiteIn(layout.title), 20);
  EXPECT_GT(s.WhiteIn(layout.clock), 10);
  const RECT& icon = layout.icons[0];
  EXPECT_EQ(GetPixel(s.dc(), (icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2), RGB(255, 0, 0));

  Surface empty(240, 26);
  PaintNavigationBar(empty.dc(), empty.rect(), NavigationBarView{});
  EXPECT_EQ(empty.WhiteIn(layout.title), 0);
}

TEST_F(BarLookTest, MenuBarLightsThePressedKeyAndDimsADisabledOne) {
  Surface plain(240, 26), pressed(240, 26), disabled(240, 26);
  MenuBarView view{{u"Exit", true}, {u"Settings", true}, true, false, MenuBarPart::None, std::nullopt};
  PaintMenuBar(plain.dc(), plain.rect(), view);
  view.pressed = MenuBarPart::Left;
  PaintMenuBar(pressed.dc(), pressed.rect(), view);
  const MenuBarLayout layout = LayOutMenuBar(plain.rect(), true);
  const POINT corner{layout.left.left + 3, layout.left.top + 3};
  EXPECT_GT(Brightness(GetPixel(pressed.dc(), corner.x, corner.y)),
            Brightness(GetPixel(plain.dc(), corner.x, corner.y)) + 60);
  EXPECT_GT(plain.WhiteIn(layout.right), 10);

  view.pressed = MenuBarPart::None;
  view.right.enabled = false;
  PaintMenuBar(disabled.dc(), disabled.rect(), view);
  EXPECT_EQ(disabled.WhiteIn(layout.right), 0);
  bool glyph = false;  // the keyboard glyph: light pixels on the dark bar
  for (int x = layout.button.left; x < layout.button.right; ++x)
    glyph = glyph || Brightness(GetPixel(disabled.dc(), x, 13)) > 500;
  EXPECT_TRUE(glyph);
}

TEST_F(BarLookTest, InputPanelDrawsEveryKeyWithALabelOrFace) {
  Surface s(240, 80);
  PaintInputPanel(s.dc(), s.rect(), InputPanelView{});
  // Every character key has a light face with a dark label on it.
  for (const PlacedKey& key : LayOutKeyboard(KeyboardPage::Letters, s.rect())) {
    if (key.key.action != KeyAction::Character) continue;
    bool dark = false;
    for (int y = key.rect.top + 2; y < key.rect.bottom - 2 && !dark; ++y)
      for (int x = key.rect.left + 2; x < key.rect.right - 2 && !dark; ++x)
        dark = Brightness(GetPixel(s.dc(), x, y)) < 450;  // well below the face (about 700)
    EXPECT_TRUE(dark) << "no label on key " << static_cast<int>(key.key.plain);
    EXPECT_GT(Brightness(GetPixel(s.dc(), key.rect.left + 2, key.rect.top + 2)), 600);
  }
}

}  // namespace
