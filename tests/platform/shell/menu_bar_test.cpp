// Soft-key menu bars: where the bar goes, which command a tap on each key sends to the owner,
// the input-panel button, and the bar's life with its owner.
#include <array>
#include <optional>
#include <vector>

#include "pda/testing/dialogs.h"

#include "display/display.h"
#include "shell/bar_layout.h"
#include "shell_fixture.h"

namespace pda::shell_test {
namespace {

class MenuBarTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    owner_ = Make(WS_VISIBLE);
    pda::user_test::Recorder::Get().On(WM_COMMAND, [this](HWND window, WPARAM w, LPARAM l) {
      if (window == owner_) commands_.push_back({w, l});
      return LRESULT{0};
    });
  }
  HWND CreateBar(UINT menu, DWORD flags) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = owner_;
    info.dwFlags = flags;
    info.nToolBarId = menu;
    info.hInstRes = kInstance;
    if (!SHCreateMenuBar(&info)) return HWND{};
    return info.hwndMB;
  }
  pda::shell::MenuBarLayout Layout(HWND bar, bool button) {
    RECT client{};
    GetClientRect(bar, &client);
    return pda::shell::LayOutMenuBar(client, button);
  }
  static bool PanelUp() {
    SIPINFO info{};
    info.cbSize = SIPINFO_PUBLISHED_SIZE;
    return SipGetInfo(&info) && (info.fdwFlags & SIPF_ON);
  }

  HWND owner_;
  std::vector<std::pair<WPARAM, LPARAM>> commands_;
};

TEST_F(MenuBarTest, TheBarSpansTheBottomOfTheScreenAndIsOwnedByItsWindow) {
  const HWND bar = CreateBar(40001, SHCMBF_HMENU | SHCMBF_HIDESIPBUTTON);
  ASSERT_TRUE(bar);
  RECT rect{};
  GetWindowRect(bar, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, 480);
  EXPECT_EQ(rect.bottom, 640);
  EXPECT_EQ(rect.bottom - rect.top, pda::display::BarHeight());
  EXPECT_EQ(GetWindow(bar, GW_OWNER), owner_);
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_EQ(GetForegroundWindow(), owner_);  // the bar never takes the foreground
  DestroyWindow(owner_);
  EXPECT_FALSE(IsWindow(bar));
}

TEST_F(MenuBarTest, ATapOnASoftKeySendsItsCommandToTheOwner) {
  struct Case {
    const char* name;
    DWORD flags;
    bool right;
    UINT command;
  };
  const Case cases[] = {
      {"left key, button hidden", SHCMBF_HMENU | SHCMBF_HIDESIPBUTTON, false, kExit},
      {"right key, button hidden", SHCMBF_HMENU | SHCMBF_HIDESIPBUTTON, true, kSettings},
      {"left key, button shown", SHCMBF_HMENU, false, kExit},
      {"right key, button shown", SHCMBF_HMENU, true, kSettings},
  };
  for (const Case& c : cases) {
    commands_.clear();
    const HWND bar = CreateBar(40001, c.flags);
    ASSERT_TRUE(bar) << c.name;
    const auto layout = Layout(bar, !(c.flags & SHCMBF_HIDESIPBUTTON));
    Tap(bar, Centre(c.right ? layout.right : layout.left));
    ASSERT_EQ(commands_.size(), 1u) << c.name;
    EXPECT_EQ(commands_[0].first, MAKEWPARAM(static_cast<WORD>(c.command), 0)) << c.name;
    EXPECT_EQ(commands_[0].second, 0) << c.name;
    DestroyWindow(bar);
  }
}

TEST_F(MenuBarTest, NoCommandForAGrayedKeyOrAStylusThatSlidOff) {
  const HWND bar = CreateBar(40005, SHCMBF_HMENU);
  const auto layout = Layout(bar, true);
  Tap(bar, Centre(layout.right));                       // "Save" is grayed
  Tap(bar, Centre(layout.left), Centre(layout.right));  // pressed on Cancel, released on Save
  EXPECT_TRUE(commands_.empty());
  Tap(bar, Centre(layout.left));
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(LOWORD(commands_[0].first), kCancel);
}

TEST_F(MenuBarTest, ASoftKeyWithASubmenuOpensItAboveTheKey) {
  static const MenuItemResource more[] = {{kSettings, u"Settings", MF_STRING},
                                          {kSave, u"Save", MF_STRING}};
  static const MenuItemResource main[] = {{kExit, u"Exit", MF_STRING},
                                          {0, u"Menu", MF_POPUP, more}};
  static const std::array<MenuResource, 1> menus{{{40009, main}}};
  const HINSTANCE instance{0x6200};
  ASSERT_TRUE(RegisterResources(instance, {.menus = menus}));
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = owner_;
  info.dwFlags = SHCMBF_HMENU;
  info.nToolBarId = 40009;
  info.hInstRes = instance;
  ASSERT_TRUE(SHCreateMenuBar(&info));
  const HWND bar = info.hwndMB;
  RECT barRect{};
  GetWindowRect(bar, &barRect);

  constexpr UINT kLook = WM_APP + 3;
  std::optional<pda::testing::PopupMenuInfo> seen;
  RECT menu{};
  pda::user_test::Recorder::Get().On(kLook, [&](HWND, WPARAM, LPARAM) {
    seen = pda::testing::OpenPopupMenu();
    if (seen) GetWindowRect(seen->window, &menu);
    if (seen && seen->items.size() == 2) {
      const RECT& item = seen->items[0].rect;  // "Settings", tapped in the menu's client area
      const LPARAM at = MAKELPARAM(static_cast<WORD>((item.left + item.right) / 2 - menu.left),
                                   static_cast<WORD>((item.top + item.bottom) / 2 - menu.top));
      PostMessageW(seen->window, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(seen->window, WM_LBUTTONUP, 0, at);
    } else if (seen) {
      PostMessageW(seen->window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    return LRESULT{0};
  });
  PostMessageW(owner_, kLook, 0, 0);
  const RECT key = Layout(bar, true).right;
  Tap(bar, Centre(key));
  ASSERT_TRUE(seen) << "the submenu opened";
  ASSERT_EQ(seen->items.size(), 2u);
  EXPECT_EQ(seen->items[0].text, u"Settings");
  EXPECT_EQ(menu.bottom, barRect.top) << "just above the bar";
  EXPECT_EQ(menu.right, barRect.left + key.right) << "lined up with the right key's outer edge";
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(LOWORD(commands_[0].first), kSettings);
  DestroyWindow(bar);
}

TEST_F(MenuBarTest, TheMiddleIsTheInputPanelButtonOnlyWhenItIsShown) {
  // Flags 0x10: the middle of the bar toggles the panel and sends no command.
  const HWND withButton = CreateBar(40001, SHCMBF_HMENU);
  const POINT middle = Centre(Layout(withButton, true).button);
  Tap(withButton, middle);
  EXPECT_TRUE(PanelUp());
  Tap(withButton, middle);
  EXPECT_FALSE(PanelUp());
  EXPECT_TRUE(commands_.empty());
  DestroyWindow(withButton);

  // Flags 0x14: no button; the middle belongs to the soft keys.
  const HWND without = CreateBar(40001, SHCMBF_HMENU | SHCMBF_HIDESIPBUTTON);
  EXPECT_EQ(Layout(without, false).button.right - Layout(without, false).button.left, 0);
  Tap(without, middle);
  EXPECT_FALSE(PanelUp());
  EXPECT_EQ(commands_.size(), 1u);
}

TEST_F(MenuBarTest, RefusedRecordsMakeNoBar) {
  struct Case {
    const char* name;
    DWORD cbSize;
    DWORD flags;
    UINT menu;
  };
  const Case cases[] = {
      {"a wrong record size", 40, SHCMBF_HMENU, 40001},
      {"a menu that is not there", 36, SHCMBF_HMENU, 40002},
      {"a toolbar resource", 36, 0, 40001},
  };
  for (const Case& c : cases) {
    SHMENUBARINFO info{};
    info.cbSize = c.cbSize;
    info.hwndParent = owner_;
    info.dwFlags = c.flags;
    info.nToolBarId = c.menu;
    info.hInstRes = kInstance;
    EXPECT_FALSE(SHCreateMenuBar(&info)) << c.name;
    EXPECT_FALSE(info.hwndMB) << c.name;
  }
  SHMENUBARINFO empty{};
  empty.cbSize = sizeof empty;
  empty.hwndParent = owner_;
  empty.dwFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDESIPBUTTON;
  ASSERT_TRUE(SHCreateMenuBar(&empty));
  Tap(empty.hwndMB, Centre(Layout(empty.hwndMB, false).left));
  EXPECT_TRUE(commands_.empty());
}

}  // namespace
}  // namespace pda::shell_test
