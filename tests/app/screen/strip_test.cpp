// The touch-button strip as the user meets it: where the faces are and which pixels each button
// answers at 240, 250 and 480 pixels wide; pressed art that follows the stylus, the action on
// release, releases elsewhere; rotation.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <pda.h>
#include <pda/testing/user.h>

#include "memory_canvas.h"
#include "pda/owners.h"
#include "app_session.h"
#include "screenshot_compare.h"
#include "screen/main_screen.h"
#include "shell/globals.h"
#include "shell/text_pane.h"

namespace zaz::testing {
namespace {

struct Art {
  int tileWidth;
  int height;  // of the tiles, the faces and so the strip
  WORD tile;
  std::array<WORD, 4> faces;
};
constexpr Art kNormalArt{26, 38, 10020, {10030, 10040, 10050, 10060}};
constexpr Art kHighArt{56, 77, 10220, {10230, 10240, 10250, 10260}};

// The strip as it should look: the tile repeated from the left and once more flush right, and
// each face at the given x. Composed here from the art itself, on the application's thread.
std::vector<COLORREF> ExpectedStrip(pda::testing::Harness& app, const Art& art, int width,
                                    const std::array<int, 4>& faceX) {
  return OnUi(app, [&] {
    const HINSTANCE hinst = GetModuleHandleW(nullptr);
    test_support::MemoryCanvas strip(width, art.height);
    auto put = [&](WORD id, int x) {
      const pda::UniqueBitmap bitmap(LoadBitmapW(hinst, MAKEINTRESOURCEW(id)));
      const pda::UniqueMemoryDC source(CreateCompatibleDC(strip.dc()));
      const pda::ScopedSelect selected(source.get(), bitmap.get());
      BITMAP info = {};
      GetObjectW(bitmap.get(), sizeof info, &info);
      BitBlt(strip.dc(), x, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    };
    for (int x = 0; x + art.tileWidth <= width; x += art.tileWidth) put(art.tile, x);
    put(art.tile, width - art.tileWidth);
    for (int k = 0; k < 4; ++k) put(art.faces[static_cast<std::size_t>(k)], faceX[static_cast<std::size_t>(k)]);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < art.height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(strip.At(x, y));
    return pixels;
  });
}

// Columns where the screen's strip differs from `expected`, as "x" list (empty: identical).
std::string DifferingColumns(const PixelBlock& onScreen, const std::vector<COLORREF>& expected) {
  std::string columns;
  for (int x = 0; x < onScreen.width; ++x) {
    for (int y = 0; y < onScreen.height; ++y) {
      if (onScreen.pixels[static_cast<std::size_t>(y * onScreen.width + x)] !=
          expected[static_cast<std::size_t>(y * onScreen.width + x)]) {
        columns += std::to_string(x) + " ";
        break;
      }
    }
  }
  return columns;
}

RECT HitRegionBox(pda::testing::Harness& app, int k) {
  return OnUi(app, [k] {
    RECT box = {};
    GetRgnBox(g_ButtonImage[k].hrgn, &box);
    return box;
  });
}

// Buttons whose hit region holds the client point.
std::vector<int> ButtonsAt(pda::testing::Harness& app, int x, int y) {
  return OnUi(app, [x, y] {
    std::vector<int> buttons;
    for (int k = 0; k < kButtonCount; ++k)
      if (g_ButtonImage[k].hrgn && PtInRegion(g_ButtonImage[k].hrgn, x, y)) buttons.push_back(k);
    return buttons;
  });
}

// ---- geometry at three widths --------------------------------------------------------------

struct StripCase {
  Screen screen;
  const Art* art;
  int quarter;                // Q
  std::array<int, 4> faceX;   // where each face starts
};
void PrintTo(const StripCase& c, std::ostream* os) { *os << c.screen.name; }

class StripGeometryTest : public AppTest, public ::testing::WithParamInterface<StripCase> {};

TEST_P(StripGeometryTest, FacesSitCentredInQuartersAndEachQuarterAnswersOnlyItsButton) {
  const StripCase& c = GetParam();
  Start(c.screen);
  ScriptFix();
  const ClientArea client = Client();
  const int s = c.art->height;
  const int q = c.quarter;
  ASSERT_EQ(client.width, c.screen.width);

  // The painted strip: the bottom rows of the client area, the whole screen wide.
  const PixelBlock strip = ReadBlock(app(), client.left, client.bottom() - s, client.width, s);
  EXPECT_EQ(DifferingColumns(strip, ExpectedStrip(app(), *c.art, client.width, c.faceX)), "")
      << "columns that differ from tiles plus faces at " << c.faceX[0] << ", " << c.faceX[1]
      << ", " << c.faceX[2] << ", " << c.faceX[3];
  EXPECT_NE(app().ReadPixel(client.left, client.bottom() - s - 1), strip.At(0, strip.top))
      << "the strip reaches above its height";

  // The hit regions: quarter k of the strip, in client coordinates.
  for (int k = 0; k < kButtonCount; ++k) {
    const RECT box = HitRegionBox(app(), k);
    EXPECT_EQ(box.left, k * q) << "button " << k + 1;
    EXPECT_EQ(box.right, (k + 1) * q) << "button " << k + 1;
    EXPECT_EQ(box.top, client.height - s) << "button " << k + 1;
    EXPECT_EQ(box.bottom, client.height) << "button " << k + 1;
    EXPECT_EQ(ButtonsAt(app(), k * q, client.height - 1), std::vector<int>{k});
    EXPECT_EQ(ButtonsAt(app(), (k + 1) * q - 1, client.height - s), std::vector<int>{k});
  }
  EXPECT_EQ(ButtonsAt(app(), q, client.height - s - 1), std::vector<int>{}) << "above the strip";
  for (int x = 4 * q; x < client.width; ++x)
    EXPECT_EQ(ButtonsAt(app(), x, client.height - 1), std::vector<int>{}) << "x = " << x;

  // Pressing at the left and right edge of each quarter shows that button's pressed art, in its
  // quarter only; sliding up out of the strip and lifting runs nothing.
  app().SetClipboardText("unchanged");
  const int y = client.bottom() - s / 2;
  for (int k = 0; k < kButtonCount; ++k) {
    for (int x : {k * q, (k + 1) * q - 1}) {
      app().Press(client.left + x, y);
      ASSERT_TRUE(app().WaitIdle());
      const PixelBlock pressed = ReadBlock(app(), client.left, client.bottom() - s, client.width, s);
      for (int other = 0; other < kButtonCount; ++other) {
        const int changed = DifferingPixels(strip, pressed, other * q, (other + 1) * q);
        if (other == k)
          EXPECT_GT(changed, 0) << "press at x = " << x << ": button " << k + 1 << " not pressed";
        else
          EXPECT_EQ(changed, 0) << "press at x = " << x << ": button " << other + 1 << " pressed";
      }
      app().MoveTo(client.left + x, client.top + client.height / 2);
      app().Release(client.left + x, client.top + client.height / 2);
      ASSERT_TRUE(app().WaitIdle());
    }
  }
  EXPECT_EQ(app().ClipboardText(), "unchanged");

  // Beyond four whole quarters: a press shows nothing pressed, a tap copies nothing.
  for (int x = 4 * q; x < client.width; ++x) {
    app().Press(client.left + x, y);
    ASSERT_TRUE(app().WaitIdle());
    EXPECT_EQ(DifferingPixels(strip, ReadBlock(app(), client.left, client.bottom() - s,
                                                client.width, s),
                              0, client.width),
              0)
        << "press at x = " << x;
    app().Release(client.left + x, y);
    ASSERT_TRUE(app().WaitIdle());
    EXPECT_EQ(app().ClipboardText(), "unchanged") << "tap at x = " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Widths, StripGeometryTest,
    ::testing::Values(StripCase{kPortraitNormal, &kNormalArt, 60, {17, 83, 137, 199}},
                      StripCase{{"portrait_250x320_96", 250, 320, 96}, &kNormalArt, 62,
                                {18, 86, 142, 206}},
                      StripCase{kPortraitHigh, &kHighArt, 120, {37, 168, 276, 399}}),
    [](const auto& info) { return std::string(info.param.screen.name); });

// ---- press, slide, release -----------------------------------------------------------------

class TouchButtonTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Start(kPortraitNormal);
    ScriptFix();
    client_ = Client();
    y_ = client_.bottom() - 19;
    normal_ = Strip();
    app().SetClipboardText("unchanged");
  }
  PixelBlock Strip() {
    return ReadBlock(app(), client_.left, client_.bottom() - 38, client_.width, 38);
  }
  // Pixels changed from the normal strip in quarter k (0..3).
  int ChangedIn(int k) { return DifferingPixels(normal_, Strip(), k * 60, (k + 1) * 60); }
  int x(int k) const { return client_.left + k * 60 + 30; }  // the middle of quarter k

  ClientArea client_{};
  int y_ = 0;
  PixelBlock normal_;
};

TEST_F(TouchButtonTest, SlideFromTheFirstToTheFourthButtonShowsItPressedAndCopiesOnRelease) {
  app().Press(x(0), y_);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_GT(ChangedIn(0), 0);
  EXPECT_EQ(ChangedIn(3), 0);

  app().MoveTo(x(2), y_);
  app().MoveTo(x(3), y_);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(ChangedIn(0), 0) << "the first button still shows pressed";
  EXPECT_EQ(ChangedIn(2), 0);
  EXPECT_GT(ChangedIn(3), 0) << "the fourth button does not show pressed";
  // The pressed tile is blue where the normal tile is grey: the strip's first column of
  // quarter 4 shows the tile, not the face.
  const COLORREF pressed = app().ReadPixel(client_.left + 3 * 60 + 2, y_);
  const COLORREF normal = normal_.At(client_.left + 3 * 60 + 2, y_);
  EXPECT_GT(GetBValue(pressed), GetRValue(pressed) + 20) << "not blue";
  EXPECT_LT(std::abs(GetBValue(normal) - GetRValue(normal)), 20) << "not grey";

  app().Release(x(3), y_);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(app().ClipboardText(), kCoordinateText);
  EXPECT_EQ(DifferingPixels(normal_, Strip(), 0, client_.width), 0) << "pressed art left behind";
}

TEST_F(TouchButtonTest, SlideUpOutOfTheStripReturnsToNormalArtAndRunsNothing) {
  app().Press(x(3), y_);
  app().MoveTo(x(3), client_.top + client_.height / 2);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(DifferingPixels(normal_, Strip(), 0, client_.width), 0);
  app().Release(x(3), client_.top + client_.height / 2);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(app().ClipboardText(), "unchanged");
  EXPECT_EQ(DifferingPixels(normal_, Strip(), 0, client_.width), 0);
}

TEST_F(TouchButtonTest, ReleaseTheMainWindowDoesNotGetKeepsThePressedArtUntilTheNextStylusMessage) {
  app().Press(x(3), y_);
  // Lifted over the right half of the menu bar (the "Settings" soft key, which does nothing yet),
  // without a move on the Main window first.
  app().Release(client_.left + client_.width - 30, client_.bottom() + 10);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_GT(ChangedIn(3), 0) << "the pressed art went away without a message on the Main window";
  EXPECT_EQ(app().ClipboardText(), "unchanged");

  // The next tap on the Main window, away from the strip, clears it and runs nothing.
  app().Tap(client_.left + 20, client_.top + 40);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(DifferingPixels(normal_, Strip(), 0, client_.width), 0);
  EXPECT_EQ(app().ClipboardText(), "unchanged");
}

// ---- rotation ------------------------------------------------------------------------------

TEST_F(AppTest, RotationRebuildsTheStripAcrossTheNewWidthAndResizesTheTextPane) {
  Start(kPortraitHigh);
  ScriptFix();
  app().Key('D', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());

  pda::testing::ChangeScreen(640, 480, 192);
  ASSERT_TRUE(app().WaitIdle());
  const ClientArea client = Client();
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 52);
  EXPECT_EQ(client.width, 640);
  const RECT pane = OnUi(app(), [] {
    RECT rc = {};
    GetWindowRect(g_TextPane.control, &rc);
    return rc;
  });
  EXPECT_EQ(pane.left, client.left);
  EXPECT_EQ(pane.top, client.top);
  EXPECT_EQ(pane.right, client.left + client.width);
  EXPECT_EQ(pane.bottom, client.bottom());
  EXPECT_EQ(app().ReadPixel(client.left + client.width - 30, client.bottom() - 2),
            RGB(255, 255, 255))
      << "the pane does not cover the new client area";

  app().Key('D', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());
  // Q = 160, h = 80: the faces at 80 - 23, 240 - 12, 400 - 24, 560 - 21.
  const PixelBlock strip = ReadBlock(app(), client.left, client.bottom() - 77, client.width, 77);
  EXPECT_EQ(DifferingColumns(strip, ExpectedStrip(app(), kHighArt, 640, {57, 228, 376, 539})),
            "");
  for (int k = 0; k < kButtonCount; ++k) {
    const RECT box = HitRegionBox(app(), k);
    EXPECT_EQ(box.left, k * 160);
    EXPECT_EQ(box.right, (k + 1) * 160);
    EXPECT_EQ(box.top, client.height - 77);
    EXPECT_EQ(box.bottom, client.height);
  }
}

// After the turn the navigation bar and the soft-key bar look as they do when the application is
// started in landscape, and the Main window stays fitted between them.
TEST_F(AppTest, RotationKeepsTheMainWindowBetweenTheNavigationBarAndTheMenuBar) {
  Start(kPortraitHigh);
  ScriptFix();
  pda::testing::ChangeScreen(640, 480, 192);
  ASSERT_TRUE(app().WaitIdle());
  const ClientArea client = Client();
  EXPECT_EQ(client.top, 52);
  EXPECT_EQ(client.bottom(), 480 - 52) << "the Main window covers the menu bar";

  int width = 0, height = 0;
  std::vector<std::uint32_t> reference;
  std::string error;
  ASSERT_TRUE(ReadPng(std::string(ZAZ_SCREEN_REFERENCE_DIR) + "/fix_landscape_640x480_192.png",
                      &width, &height, &reference, &error))
      << error;
  ASSERT_EQ(width, 640);
  for (const auto& [name, top] : {std::pair{"navigation bar", 0}, std::pair{"menu bar", 428}}) {
    int differing = 0;
    for (int y = top; y < top + 52; ++y) {
      for (int x = 0; x < 640; ++x) {
        const COLORREF c = app().ReadPixel(x, y);
        const std::uint32_t r = reference[static_cast<std::size_t>(y * 640 + x)];
        if (std::abs(GetRValue(c) - static_cast<int>((r >> 16) & 0xFF)) > 8 ||
            std::abs(GetGValue(c) - static_cast<int>((r >> 8) & 0xFF)) > 8 ||
            std::abs(GetBValue(c) - static_cast<int>(r & 0xFF)) > 8)
          ++differing;
      }
    }
    EXPECT_LE(differing, 640 * 52 / 200) << "the " << name << " after the turn";
  }
}

}  // namespace
}  // namespace zaz::testing
