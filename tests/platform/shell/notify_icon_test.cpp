// Notification icons: the add/modify/delete rules and a tap on the icon in the navigation bar.
#include <vector>

#include "png_fixture.h"
#include "shell/bar_layout.h"
#include "shell_fixture.h"

namespace pda::shell_test {
namespace {

constexpr UINT kNotifyMessage = 0xA001;

class NotifyIconTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    png_ = pda::resources_test::SolidPng(16, 16, 0xFF0000FF);
    images_ = {png_};
    icons_ = {{{98, images_}}};
    ASSERT_TRUE(RegisterResources(kInstance, {.icons = icons_}));
    owner_ = Make(WS_VISIBLE, HWND{}, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  u"Zazorudu");
    icon_ = static_cast<HICON>(LoadImageW(kInstance, MAKEINTRESOURCEW(98), IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(icon_);
  }
  void TearDown() override {
    DestroyIcon(icon_);
    ShellTest::TearDown();
  }
  NOTIFYICONDATA Record(UINT id) const {
    NOTIFYICONDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = kNotifyMessage;
    data.hIcon = icon_;
    return data;
  }

  std::vector<std::uint8_t> png_;
  std::array<std::span<const std::uint8_t>, 1> images_;
  std::array<IconResource, 1> icons_;
  HWND owner_;
  HICON icon_;
};

TEST_F(NotifyIconTest, AddModifyAndDeleteFollowTheIconsIdentity) {
  struct Step {
    const char* name;
    DWORD message;
    UINT id;
    DWORD cbSize;
    BOOL expected;
  };
  const Step steps[] = {
      {"add a new icon", NIM_ADD, 98, 152, TRUE},
      {"add the same icon again", NIM_ADD, 98, 152, FALSE},
      {"add with a wrong record size", NIM_ADD, 99, 156, FALSE},
      {"modify an icon that is there", NIM_MODIFY, 98, 152, TRUE},
      {"modify an icon that is not", NIM_MODIFY, 99, 152, FALSE},
      {"delete an icon that is not", NIM_DELETE, 99, 152, FALSE},
      {"delete the icon", NIM_DELETE, 98, 152, TRUE},
      {"delete it again", NIM_DELETE, 98, 152, FALSE},
      {"add it after the delete", NIM_ADD, 98, 152, TRUE},
  };
  for (const Step& s : steps) {
    NOTIFYICONDATA data = Record(s.id);
    data.cbSize = s.cbSize;
    EXPECT_EQ(Shell_NotifyIcon(s.message, &data), s.expected) << s.name;
  }
}

TEST_F(NotifyIconTest, ATapOnTheIconSendsItsOwnerThePressAndTheRelease) {
  NOTIFYICONDATA data = Record(98);
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
  const HWND bar = pda::testing::NavigationBarWindow();
  ASSERT_TRUE(bar);
  std::vector<std::pair<WPARAM, LPARAM>> notices;
  pda::user_test::Recorder::Get().On(kNotifyMessage, [&](HWND window, WPARAM w, LPARAM l) {
    if (window == owner_) notices.push_back({w, l});
    return LRESULT{0};
  });
  RECT client{};
  GetClientRect(bar, &client);
  const RECT icon = pda::shell::LayOutNavigationBar(client, 1).icons[0];
  Tap(bar, Centre(icon));
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0], (std::pair<WPARAM, LPARAM>{98, WM_LBUTTONDOWN}));
  EXPECT_EQ(notices[1], (std::pair<WPARAM, LPARAM>{98, WM_LBUTTONUP}));

  // Beside the icon (over the title) nothing is sent; after the delete, neither.
  notices.clear();
  Tap(bar, {client.left + 4, Centre(icon).y});
  ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
  Tap(bar, Centre(icon));
  EXPECT_TRUE(notices.empty());
}

TEST_F(NotifyIconTest, DeadIconHandlesAndGoneOwnersAreRefused) {
  NOTIFYICONDATA data = Record(98);
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
  ASSERT_TRUE(DestroyIcon(icon_));
  // The icon's picture is kept by the shell, so a modify with a dead handle is refused ...
  data.uFlags = NIF_ICON;
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &data));
  icon_ = static_cast<HICON>(LoadImageW(kInstance, MAKEINTRESOURCEW(98), IMAGE_ICON, 16, 16, 0));
  // ... and a window that is gone takes its icons with it.
  DestroyWindow(owner_);
  data.uFlags = NIF_MESSAGE;
  data.hWnd = owner_;
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
}

}  // namespace
}  // namespace pda::shell_test
