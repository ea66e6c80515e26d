// The shell around the main screen: the accelerators (Ctrl+D, Ctrl+N, Ctrl+Q), commands the
// Main window does not know, the notification icon and the keep-awake timer.
#include <gtest/gtest.h>

#include <ostream>

#include <pda.h>
#include <pda/testing/kernel.h>
#include <pda/testing/shell.h>
#include <pda/testing/user.h>

#include "app_session.h"
#include "shell/globals.h"
#include "shell/text_pane.h"

namespace zaz::testing {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A second top-level window on the application's thread, made foreground.
HWND MakeOtherForegroundWindow() {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"ZazTestOtherShell";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND other = CreateWindowExW(0, u"ZazTestOtherShell", u"Other", WS_VISIBLE | WS_POPUP, 0, 60,
                               100, 100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  return other;
}

// ---- accelerators --------------------------------------------------------------------------

TEST_F(AppTest, CtrlDShowsTheTextPaneOverTheClientAreaAndASecondCtrlDHidesIt) {
  Start(kPortraitNormal);
  ScriptFix();
  const ClientArea client = Client();
  const COLORREF gradientTop = app().ReadPixel(client.left + 2, client.top);
  const COLORREF stripPixel = app().ReadPixel(client.left + 2, client.bottom() - 2);
  ASSERT_NE(gradientTop, kWhite);

  app().Key('D', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_TRUE(OnUi(app(), [] { return TextPaneIsShown(&g_TextPane); }));
  // The empty edit's white, from the top left corner to the strip (the scroll bar is at the
  // right edge).
  EXPECT_EQ(app().ReadPixel(client.left + 2, client.top), kWhite);
  EXPECT_EQ(app().ReadPixel(client.left + client.width / 2, client.top + client.height / 2),
            kWhite);
  EXPECT_EQ(app().ReadPixel(client.left + 2, client.bottom() - 2), kWhite);
  const RECT pane = OnUi(app(), [] {
    RECT rc = {};
    GetWindowRect(g_TextPane.control, &rc);
    return rc;
  });
  EXPECT_EQ(pane.left, client.left);
  EXPECT_EQ(pane.top, client.top);
  EXPECT_EQ(pane.right, client.left + client.width);
  EXPECT_EQ(pane.bottom, client.bottom());

  app().Key('D', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(OnUi(app(), [] { return TextPaneIsShown(&g_TextPane); }));
  EXPECT_EQ(app().ReadPixel(client.left + 2, client.top), gradientTop);
  EXPECT_EQ(app().ReadPixel(client.left + 2, client.bottom() - 2), stripPixel);
}

TEST_F(AppTest, CtrlNClearsTheTextPaneOnlyWhileItIsShown) {
  Start(kPortraitNormal);
  auto paneText = [this] {
    return OnUi(app(), [] { return GetWindowTextLengthW(g_TextPane.control); });
  };
  // Nothing in the program writes into the pane; the test puts text there to see it cleared.
  OnUi(app(), [] { SetWindowTextW(g_TextPane.control, u"some text"); });
  ASSERT_EQ(paneText(), 9);

  app().Key('N', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(paneText(), 9) << "a hidden pane was cleared";

  app().Key('D', {.ctrl = true});
  app().Key('N', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_TRUE(OnUi(app(), [] { return TextPaneIsShown(&g_TextPane); }));
  EXPECT_EQ(paneText(), 0);
}

TEST_F(AppTest, CtrlQClosesTheApplicationWhileTheTextPaneHasTheFocus) {
  Start(kPortraitNormal);
  app().Key('D', {.ctrl = true});
  ASSERT_TRUE(app().WaitIdle());
  const bool focused = OnUi(app(), [] {
    SetFocus(g_TextPane.control);
    return GetFocus() == g_TextPane.control;
  });
  ASSERT_TRUE(focused);
  QuitWithCtrlQ();
  EXPECT_EQ(app().ExitCode(), 0);
  EXPECT_FALSE(LastProcessEnd().mainWindow) << "the Main window was not destroyed";
}

TEST_F(AppTest, CtrlQClosesTheApplicationWhileAnotherTopLevelWindowIsForeground) {
  Start(kPortraitNormal);
  const HWND other = OnUi(app(), [] { return MakeOtherForegroundWindow(); });
  ASSERT_EQ(OnUi(app(), [] { return GetForegroundWindow(); }), other);
  QuitWithCtrlQ();
  EXPECT_EQ(app().ExitCode(), 0);
  EXPECT_FALSE(LastProcessEnd().mainWindow) << "the Main window was not destroyed";
  EXPECT_FALSE(IsWindow(other)) << "gone with the thread's other windows at the process end";
}

// ---- commands without a row ----------------------------------------------------------------

struct UnknownCommand {
  const char* name;
  WPARAM wParam;
};
void PrintTo(const UnknownCommand& c, std::ostream* os) { *os << c.name; }

class UnknownCommandTest : public AppTest,
                           public ::testing::WithParamInterface<UnknownCommand> {};

TEST_P(UnknownCommandTest, DoesNothingAndReturnsZero) {
  Start(kPortraitNormal);
  ScriptFix();
  const ClientArea client = Client();
  const PixelBlock before = ReadBlock(app(), 0, client.top, client.width, client.height);
  const WPARAM wParam = GetParam().wParam;
  const LRESULT sent = OnUi(app(), [wParam] {
    return SendMessageW(g_hWndMain, WM_COMMAND, wParam, 0);
  });
  EXPECT_EQ(sent, 0);
  const HWND main = MainWindow();
  EXPECT_TRUE(PostMessageW(main, WM_COMMAND, wParam, 0));
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(app().Ended());
  EXPECT_TRUE(IsWindow(main));
  EXPECT_FALSE(OnUi(app(), [] { return TextPaneIsShown(&g_TextPane); }));
  EXPECT_EQ(DifferingPixels(before, ReadBlock(app(), 0, client.top, client.width, client.height),
                            0, client.width),
            0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UnknownCommandTest,
    ::testing::Values(UnknownCommand{"CancelOfAnotherMenuBar", 40110},
                      UnknownCommand{"OkOfAnotherMenuBar", 40120}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the notification icon -----------------------------------------------------------------

struct IconCase {
  Screen screen;
  UINT id;
  int size;
};
void PrintTo(const IconCase& c, std::ostream* os) { *os << c.screen.name; }

class NotificationIconTest : public AppTest, public ::testing::WithParamInterface<IconCase> {};

TEST_P(NotificationIconTest, TapWithLeftButtonPressBringsTheMainWindowToTheFront) {
  const IconCase& c = GetParam();
  Start(c.screen);
  const HWND main = MainWindow();
  std::vector<pda::testing::NotifyIconInfo> icons;
  for (const auto& icon : pda::testing::NotifyIcons())
    if (icon.owner == main) icons.push_back(icon);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].id, c.id);
  EXPECT_EQ(icons[0].callbackMessage, 0xA001u);
  EXPECT_EQ(icons[0].imageSize.cx, c.size);
  EXPECT_EQ(icons[0].imageSize.cy, c.size);

  // Other mouse messages on the icon, and a press on an icon that is not ours, leave the
  // foreground where it is.
  const HWND other = OnUi(app(), [] { return MakeOtherForegroundWindow(); });
  ASSERT_EQ(OnUi(app(), [] { return GetForegroundWindow(); }), other);
  const UINT id = c.id;
  const struct {
    WPARAM icon;
    LPARAM mouse;
  } ignored[] = {{id, WM_LBUTTONUP}, {id, WM_MOUSEMOVE}, {id, WM_LBUTTONDBLCLK},
                 {97, WM_LBUTTONDOWN}, {id == 99 ? 98u : 99u, WM_MOUSEMOVE}};
  for (const auto& message : ignored) {
    const LRESULT result = OnUi(app(), [&] {
      return SendMessageW(g_hWndMain, 0xA001, message.icon, message.mouse);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(OnUi(app(), [] { return GetForegroundWindow(); }), other)
        << "icon " << message.icon << ", " << pda::testing::MessageName(message.mouse);
  }

  // A tap on the icon where the navigation bar draws it.
  ASSERT_TRUE(pda::testing::NavigationBarWindow());
  const RECT at = icons[0].onScreen;
  ASSERT_LT(at.left, at.right) << "the bar lays the icon out";
  app().Tap((at.left + at.right) / 2, (at.top + at.bottom) / 2);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(OnUi(app(), [] { return GetForegroundWindow(); }), main);

  OnUi(app(), [other] { DestroyWindow(other); });
}

INSTANTIATE_TEST_SUITE_P(Screens, NotificationIconTest,
                         ::testing::Values(IconCase{kPortraitHigh, 99, 64},
                                           IconCase{kPortraitNormal, 98, 16}),
                         [](const auto& info) { return std::string(info.param.screen.name); });

// ---- the keep-awake timer ------------------------------------------------------------------

TEST_F(AppTest, KeepAwakeTimerResetsTheIdleTimerEveryFiveSecondsUntilExit) {
  Start(kPortraitNormal);
  const auto start = pda::IdleTimerResetCount();
  pda::testing::AdvanceClock(4999);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(pda::IdleTimerResetCount(), start);
  pda::testing::AdvanceClock(1);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(pda::IdleTimerResetCount(), start + 1);
  pda::testing::AdvanceClock(5000);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(pda::IdleTimerResetCount(), start + 2);

  QuitWithCtrlQ();
  pda::testing::AdvanceClock(10000);
  EXPECT_EQ(pda::IdleTimerResetCount(), start + 2) << "the timer outlived the window";
}

}  // namespace
}  // namespace zaz::testing
