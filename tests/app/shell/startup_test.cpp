// Start-up and shutdown of the whole application: the acquiring screen, the first fix, Ctrl+Q
// and the settings file it leaves, a GPS driver that cannot be opened, a second instance.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include <pda.h>
#include <pda/testing/gps.h>
#include <pda/testing/shell.h>
#include <pda/testing/user.h>

#include "app_session.h"
#include "shell/globals.h"

namespace zaz::testing {
namespace {

constexpr char kSettingsFile[] = "Program Files/Zazorudu/Zazorudu.settings.txt";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Top-level windows of the Main window's class and title, of this process.
int MainWindowCount() {
  int count = 0;
  for (const auto& top : pda::testing::TopLevelWindows())
    if (top.className == u"Vorizidir" && top.title == u"Zazorudu") ++count;
  return count;
}

int IconsOf(HWND owner) {
  int count = 0;
  for (const auto& icon : pda::testing::NotifyIcons())
    if (icon.owner == owner) ++count;
  return count;
}

// A second top-level window on the application's thread, made foreground: something for the
// Main window to be brought in front of.
HWND MakeOtherForegroundWindow() {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"ZazTestOther";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND other = CreateWindowExW(0, u"ZazTestOther", u"Other", WS_VISIBLE | WS_POPUP, 0, 60, 100,
                               100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  return other;
}

// ---- the acquiring screen, the first fix, Ctrl+Q -------------------------------------------

// Dimming blends black at 200/255 over the screen: a channel keeps 55/255 of its value.
int Dimmed(int channel) { return (channel * 55 + 127) / 255; }

TEST_F(AppTest, AcquiringScreenIsDimmedAndInertUntilAFixIsPainted) {
  Start(kPortraitNormal);
  const int bar = pda::testing::BarHeight();
  ASSERT_EQ(bar, 26);
  const ClientArea client = Client();
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, bar) << "below the navigation bar";
  EXPECT_EQ(client.width, 240);
  EXPECT_EQ(client.height, 320 - 2 * bar) << "fitted above the menu bar";

  // The gradient's top row is (92, 98, 104); left of the status text it shows it dimmed.
  const COLORREF top = app().ReadPixel(client.left + 2, client.top);
  EXPECT_NEAR(GetRValue(top), Dimmed(92), 1);
  EXPECT_NEAR(GetGValue(top), Dimmed(98), 1);
  EXPECT_NEAR(GetBValue(top), Dimmed(104), 1);

  // The value lines are drawn under the dimming: nothing there is bright. The status line is
  // drawn after it, at full brightness.
  const int valueTop = client.top + static_cast<int>(0.31 * client.height);
  const int valueLeft = client.left + static_cast<int>(0.4 * client.width);
  const int statusTop = client.top + static_cast<int>(0.02 * client.height);
  const PixelBlock acquiringValue = ReadBlock(app(), valueLeft, valueTop, 240 - valueLeft, 22);
  const PixelBlock acquiringStatus = ReadBlock(app(), 0, statusTop, 240, 16);
  EXPECT_EQ(BrightPixels(acquiringValue, 120), 0);
  EXPECT_GT(BrightPixels(acquiringStatus, 200), 20) << "the status line is not drawn";

  // The buttons are inert: holding the stylus on a button shows no pressed art, and a release
  // over the copy button copies nothing.
  const int stripY = client.bottom() - 19;
  const PixelBlock strip = ReadBlock(app(), 0, client.bottom() - 38, 240, 38);
  app().SetClipboardText("before");
  app().Press(210, stripY);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(DifferingPixels(strip, ReadBlock(app(), 0, client.bottom() - 38, 240, 38), 0, 240),
            0);
  app().Release(210, stripY);
  app().Tap(30, stripY);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(DifferingPixels(strip, ReadBlock(app(), 0, client.bottom() - 38, 240, 38), 0, 240),
            0);
  EXPECT_EQ(app().ClipboardText(), "before");

  ScriptFix();
  EXPECT_EQ(app().ReadPixel(client.left + 2, client.top), RGB(92, 98, 104)) << "not dimmed";
  const PixelBlock fixValue = ReadBlock(app(), valueLeft, valueTop, 240 - valueLeft, 22);
  const PixelBlock fixStatus = ReadBlock(app(), 0, statusTop, 240, 16);
  EXPECT_GT(BrightPixels(fixValue, 200), 20) << "the latitude line is not drawn at full light";
  int statusChanges = 0;
  for (std::size_t i = 0; i < fixStatus.pixels.size(); ++i) {
    const bool wasBright = BrightPixels(PixelBlock{0, 0, 1, 1, {acquiringStatus.pixels[i]}}, 200);
    const bool isBright = BrightPixels(PixelBlock{0, 0, 1, 1, {fixStatus.pixels[i]}}, 200);
    if (wasBright != isBright) ++statusChanges;
  }
  EXPECT_GT(statusChanges, 20) << "the status line still says the same";
  EXPECT_GT(DifferingPixels(strip, ReadBlock(app(), 0, client.bottom() - 38, 240, 38), 0, 240),
            0)
      << "the strip is still dimmed";
}

TEST_F(AppTest, CtrlQEndsWithCodeZeroAndWritesTheSettingsFileBesideTheProgram) {
  Start(kPortraitNormal);
  const HWND main = MainWindow();
  EXPECT_EQ(pda::testing::GpsOpenCount(), 1);
  EXPECT_EQ(IconsOf(main), 1);
  QuitWithCtrlQ();
  EXPECT_EQ(app().ExitCode(), 0);
  EXPECT_FALSE(IsWindow(main)) << "WM_CLOSE destroys the Main window";
  EXPECT_EQ(IconsOf(main), 0);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0) << "the GPS driver was not closed";

  // The wall clock is fixed at 9 January 2009, 20:41:24 in UTC.
  EXPECT_EQ(ReadFile(root_.HostPath(kSettingsFile)),
            "[Zazorudu]\r\n"
            "DateTime=09d-01m-2009y-t2041_24s\r\n"
            "Version=1.00.0785 (01.2009)\r\n"
            "[EMAIL]\r\n"
            "wszDefaultEmailAddr=\r\n"
            // The first of the default message stores, preset when the Main window was made.
            "DefaultEmailAccount=E-mail\r\n"
            "[SMS]\r\n"
            "DefaultSMSphoneNumber=\r\n");
}

// ---- a GPS driver that cannot be opened ----------------------------------------------------

TEST_F(AppTest, UnopenableGpsShowsTheWindowSavesAndEndsWithCodeTwo) {
  pda::testing::ScriptGpsOpenFailure(ERROR_FILE_NOT_FOUND);
  Start(kPortraitNormal);
  ASSERT_TRUE(app().Join()) << "the application did not end by itself";
  EXPECT_EQ(app().ExitCode(), 2);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0);

  // The window was shown and painted before the reader was started (the dimmed gradient is on
  // the screen), the icon removed, and the window left for the process end.
  const COLORREF top = app().ReadPixel(2, pda::testing::BarHeight());
  EXPECT_NEAR(GetRValue(top), Dimmed(92), 1);
  const LeftAtProcessEnd left = LastProcessEnd();
  EXPECT_TRUE(left.mainWindow);
  EXPECT_TRUE(left.mainWindowVisible);
  EXPECT_EQ(left.notificationIcons, 0) << "the icon was not removed";
  EXPECT_FALSE(ReadFile(root_.HostPath(kSettingsFile)).empty()) << "the settings were not saved";
}

// ---- a second instance ---------------------------------------------------------------------

TEST_F(AppTest, SecondInstanceActivatesTheFirstAndCreatesNothing) {
  Start(kPortraitNormal);
  const HWND main = MainWindow();
  const HWND other = OnUi(app(), [] { return MakeOtherForegroundWindow(); });
  ASSERT_EQ(OnUi(app(), [] { return GetForegroundWindow(); }), other);
  ASSERT_EQ(pda::testing::GpsOpenCount(), 1);

  {
    pda::testing::Harness second(WinMain);
    ASSERT_TRUE(second.Join());
    EXPECT_EQ(second.ExitCode(), 0);
  }
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(OnUi(app(), [] { return GetForegroundWindow(); }), main);
  EXPECT_EQ(MainWindowCount(), 1);
  EXPECT_EQ(IconsOf(main), 1);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 1);
  EXPECT_FALSE(app().Ended());

  OnUi(app(), [other] { DestroyWindow(other); });
  QuitWithCtrlQ();
  EXPECT_EQ(app().ExitCode(), 0);
}

}  // namespace
}  // namespace zaz::testing
