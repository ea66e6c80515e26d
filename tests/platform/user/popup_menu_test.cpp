// Popup menus: choosing and dismissing by stylus and keys (including the lift of the press that
// opened the menu), the owner's WM_COMMAND, and where the menu is placed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>

#include "pda/testing/dialogs.h"
#include "pda/testing/user.h"
#include "user/input_router.h"
#include "user/popup_menu.h"

namespace {

using pda::testing::PopupMenuInfo;
using pda::user::StylusRouter;

constexpr UINT kScript = WM_APP + 1;
constexpr char16_t kOwnerClass[] = u"PopupMenuOwner";
constexpr UINT kCopy = 101, kPaste = 102, kDelete = 103;

std::function<void()> script;

LRESULT OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kScript && script) {
    script();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The screen point at the centre of the open menu's item with `command`.
POINT ItemPoint(UINT command) {
  const auto menu = pda::testing::OpenPopupMenu();
  if (!menu) {
    ADD_FAILURE() << "no menu open";
    return POINT{};
  }
  for (const auto& item : menu->items)
    if (item.command == command && !item.text.empty()) return Centre(item.rect);
  ADD_FAILURE() << "no item " << command;
  return POINT{};
}

void Key(int key) {
  const auto menu = pda::testing::OpenPopupMenu();
  ASSERT_TRUE(menu);
  PostMessageW(menu->window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
}

constexpr POINT kOutside{420, 600};

class PopupMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(480, 640, 96);
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = OwnerProcedure;
      wc.lpszClassName = kOwnerClass;
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    owner_ = CreateWindowExW(0, kOwnerClass, u"Owner", WS_VISIBLE, 0, 0, 480, 640, HWND{},
                             HANDLE{}, HINSTANCE{}, nullptr);
    ASSERT_TRUE(owner_);
    menu_ = CreatePopupMenu();
    AppendMenuW(menu_, MF_STRING, kCopy, u"&Copy");
    AppendMenuW(menu_, MF_STRING | MF_GRAYED, kPaste, u"Paste");
    AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu_, MF_STRING, kDelete, u"Delete");
  }
  void TearDown() override {
    script = nullptr;
    DestroyMenu(menu_);
    DestroyWindow(owner_);
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  // Opens the menu at (100, 200) with the script run from inside its loop.
  BOOL Track(UINT flags, std::function<void()> action) {
    script = std::move(action);
    PostMessageW(owner_, kScript, 0, 0);
    return TrackPopupMenuEx(menu_, flags, 100, 200, owner_, nullptr);
  }
  // The commands the owner was sent by WM_COMMAND, taken from its queue.
  std::vector<UINT> Commands() {
    std::vector<UINT> commands;
    MSG msg;
    while (PeekMessageW(&msg, owner_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      commands.push_back(LOWORD(msg.wParam));
    return commands;
  }

  HWND owner_;
  HMENU menu_;
  StylusRouter stylus_;
};

// ---- choosing and dismissing ---------------------------------------------------------------
struct ChoiceCase {
  const char* name;
  bool openedByPress;  // the stylus is still down when the menu opens
  std::function<void(StylusRouter&)> act;
  UINT expected;
};
void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

void Tap(StylusRouter& stylus, POINT p) {
  stylus.Down(p);
  stylus.Up(p);
}

class PopupMenuChoiceTest : public PopupMenuTest,
                            public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(PopupMenuChoiceTest, ReturnsTheChosenCommandOrNone) {
  const ChoiceCase& c = GetParam();
  if (c.openedByPress) stylus_.Down(POINT{100, 200});
  const BOOL result = Track(TPM_RETURNCMD | TPM_LEFTALIGN, [&] { c.act(stylus_); });
  EXPECT_EQ(static_cast<UINT>(result), c.expected);
  EXPECT_TRUE(Commands().empty()) << "TPM_RETURNCMD sends nothing";
  EXPECT_FALSE(pda::testing::OpenPopupMenu()) << "the menu is gone";
  EXPECT_EQ(GetCapture(), HWND{}) << "and holds the stylus no more";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopupMenuChoiceTest,
    ::testing::Values(
        ChoiceCase{"TapAnItem", false, [](StylusRouter& s) { Tap(s, ItemPoint(kDelete)); },
                   kDelete},
        ChoiceCase{"TapOutside", false, [](StylusRouter& s) { Tap(s, kOutside); }, 0},
        ChoiceCase{"Escape", false, [](StylusRouter&) { Key(VK_ESCAPE); }, 0},
        ChoiceCase{"DownSkipsDisabledAndSeparator", false,
                   [](StylusRouter&) {
                     Key(VK_DOWN);
                     Key(VK_DOWN);
                     Key(VK_RETURN);
                   },
                   kDelete},
        ChoiceCase{"UpWrapsToTheLastItem", false,
                   [](StylusRouter&) {
                     Key(VK_UP);
                     Key(VK_RETURN);
                   },
                   kDelete},
        ChoiceCase{"DisabledItemIsNotChosen", false,
                   [](StylusRouter& s) {
                     Tap(s, ItemPoint(kPaste));
                     Key(VK_RETURN);  // nothing highlighted: Return chooses nothing either
                     Key(VK_ESCAPE);
                   },
                   0},
        ChoiceCase{"PressOnItemLiftedOutside", false,
                   [](StylusRouter& s) {
                     s.Down(ItemPoint(kCopy));
                     s.Move(kOutside);
                     s.Up(kOutside);
                   },
                   0},
        ChoiceCase{"OpeningPressLiftedOnAnItemChoosesIt", true,
                   [](StylusRouter& s) {
                     s.Move(ItemPoint(kCopy));
                     s.Up(ItemPoint(kCopy));
                   },
                   kCopy},
        ChoiceCase{"OpeningPressLiftedOutsideKeepsItOpen", true,
                   [](StylusRouter& s) {
                     s.Up(kOutside);
                     Tap(s, ItemPoint(kDelete));
                   },
                   kDelete}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupMenuTest, WithoutReturnCmdTheOwnerGetsTheCommand) {
  EXPECT_EQ(Track(0, [this] { Tap(stylus_, ItemPoint(kCopy)); }), TRUE);
  EXPECT_EQ(Commands(), std::vector<UINT>{kCopy});
  EXPECT_EQ(Track(0, [this] { Tap(stylus_, kOutside); }), FALSE);
  EXPECT_TRUE(Commands().empty()) << "a dismissed menu sends nothing";
}

TEST_F(PopupMenuTest, TheOpenMenuShowsItsItemsAtTheAnchor) {
  std::optional<PopupMenuInfo> seen;
  Track(TPM_RETURNCMD, [&] {
    seen = pda::testing::OpenPopupMenu();
    Key(VK_ESCAPE);
  });
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->anchor.x, 100);
  EXPECT_EQ(seen->anchor.y, 200);
  ASSERT_EQ(seen->items.size(), 4u);
  EXPECT_EQ(seen->items[0].text, u"Copy") << "the mnemonic mark is not shown";
  EXPECT_EQ(seen->items[2].text, u"");
  EXPECT_EQ(seen->items[0].rect.left, 101) << "inside a one-pixel frame from the anchor";
  EXPECT_EQ(seen->items[0].rect.top, 201);
}

// ---- placement -----------------------------------------------------------------------------
struct PlaceCase {
  const char* name;
  POINT anchor;
  UINT flags;
  std::function<void(const RECT& panel, POINT anchor)> check;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class PopupMenuPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PopupMenuPlaceTest, PlacesThePanelByTheFlagsOnTheScreen) {
  constexpr int kDpi = 192, kWidth = 480, kHeight = 640;
  HFONT font = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  ASSERT_TRUE(font);
  const std::vector<pda::user::MenuItemView> items = {
      {0, 1, u"Copy", HMENU{}}, {MF_SEPARATOR, 0, u"", HMENU{}}, {MF_GRAYED, 2, u"Paste", HMENU{}}};
  const auto layout = pda::user::LayOutPopupMenu(items, font, GetParam().anchor, GetParam().flags,
                                                 RECT{}, kWidth, kHeight, kDpi);
  DeleteObject(font);
  const RECT& p = layout.panel;
  EXPECT_GE(p.left, 0);
  EXPECT_GE(p.top, 0);
  EXPECT_LE(p.right, kWidth);
  EXPECT_LE(p.bottom, kHeight);
  ASSERT_EQ(layout.rows.size(), 3u);
  EXPECT_GE(layout.rows[0].rect.bottom - layout.rows[0].rect.top, 52) << "touch-sized at 192 DPI";
  EXPECT_LT(layout.rows[1].rect.bottom - layout.rows[1].rect.top, 52) << "a thin separator";
  EXPECT_EQ(layout.rows[0].rect.bottom, layout.rows[1].rect.top) << "stacked";
  EXPECT_LE(layout.rows[2].rect.bottom, p.bottom - p.top);
  GetParam().check(p, GetParam().anchor);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopupMenuPlaceTest,
    ::testing::Values(
        PlaceCase{"TopLeftAtTheAnchor", {100, 200}, TPM_LEFTALIGN | TPM_TOPALIGN,
                  [](const RECT& p, POINT a) {
                    EXPECT_EQ(p.left, a.x);
                    EXPECT_EQ(p.top, a.y);
                  }},
        PlaceCase{"CentredVertically", {100, 300}, TPM_VCENTERALIGN,
                  [](const RECT& p, POINT a) {
                    EXPECT_LE(std::abs(p.top + p.bottom - 2 * a.y), 1);
                    EXPECT_EQ(p.left, a.x);
                  }},
        PlaceCase{"CentredBothWays", {240, 300}, TPM_CENTERALIGN | TPM_VCENTERALIGN,
                  [](const RECT& p, POINT a) {
                    EXPECT_LE(std::abs(p.left + p.right - 2 * a.x), 1);
                    EXPECT_LE(std::abs(p.top + p.bottom - 2 * a.y), 1);
                  }},
        PlaceCase{"RightAndBottomEndAtTheAnchor", {400, 500}, TPM_RIGHTALIGN | TPM_BOTTOMALIGN,
                  [](const RECT& p, POINT a) {
                    EXPECT_EQ(p.right, a.x);
                    EXPECT_EQ(p.bottom, a.y);
                  }},
        PlaceCase{"NearTheBottomRightCornerMovesIn", {470, 630}, TPM_LEFTALIGN | TPM_TOPALIGN,
                  [](const RECT& p, POINT) {
                    EXPECT_EQ(p.right, 480);
                    EXPECT_EQ(p.bottom, 640);
                  }},
        PlaceCase{"NearTheTopLeftCornerMovesIn", {5, 5}, TPM_RIGHTALIGN | TPM_BOTTOMALIGN,
                  [](const RECT& p, POINT) {
                    EXPECT_EQ(p.left, 0);
                    EXPECT_EQ(p.top, 0);
                  }},
        PlaceCase{"CentredNearTheTopStaysOnScreen", {240, 10}, TPM_VCENTERALIGN,
                  [](const RECT& p, POINT) { EXPECT_EQ(p.top, 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
