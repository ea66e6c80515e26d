// The harness with a tiny application: a window that paints a colour, records taps and keys,
// copies to the clipboard on Ctrl+C, and quits with a chosen code when closed.
#include "pda/testing/harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "gdi/png_codec.h"
#include "pda/clipboard.h"
#include "pda/testing/clipboard.h"
#include "pda/testing/user.h"

namespace {

constexpr char16_t kClass[] = u"HarnessTinyApp";
std::atomic<COLORREF> g_color{RGB(10, 20, 30)};
std::atomic<std::uint32_t> g_window{0};
std::mutex g_mutex;
std::vector<std::string> g_events;

void Note(std::string event) {
  std::lock_guard lock(g_mutex);
  g_events.push_back(std::move(event));
}
std::vector<std::string> Events() {
  std::lock_guard lock(g_mutex);
  return g_events;
}

void CopyText(const char16_t* text, std::size_t length) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(char16_t));
  auto* p = static_cast<char16_t*>(GlobalLock(block));
  std::copy(text, text + length + 1, p);
  GlobalUnlock(block);
  OpenClipboard(HWND{});
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

LRESULT TinyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      HBRUSH brush = CreateSolidBrush(g_color.load());
      RECT client;
      GetClientRect(window, &client);
      FillRect(dc, &client, brush);
      DeleteObject(brush);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      Note("down " + std::to_string(LOWORD(lParam)) + "," + std::to_string(HIWORD(lParam)));
      return 0;
    case WM_LBUTTONUP:
      Note("up " + std::to_string(LOWORD(lParam)) + "," + std::to_string(HIWORD(lParam)));
      g_color = RGB(200, 100, 50);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_CHAR:
      if (wParam == 3) {  // Ctrl+C
        CopyText(u"47.6062095,-122.3320708", 23);
      } else {
        Note(std::string("char ") + static_cast<char>(wParam));
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(7);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int WINAPI TinyWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TinyProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, kClass, u"Tiny", 0, 20, 30, 100, 80, HWND{}, HANDLE{},
                                instance, nullptr);
  if (!window) return -1;
  g_window = window.value;
  ShowWindow(window, show);
  SetForegroundWindow(window);
  MSG msg;
  while (GetMessageW(&msg, HWND{}, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  UnregisterClassW(kClass, instance);
  return static_cast<int>(msg.wParam);
}

class HarnessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(240, 320, 96);
    pda::testing::ResetClipboard();
    g_color = RGB(10, 20, 30);
    std::lock_guard lock(g_mutex);
    g_events.clear();
  }
};

TEST_F(HarnessTest, ShowsThePaintedWindowAndRoutesATap) {
  pda::testing::Harness app(TinyWinMain);
  ASSERT_TRUE(app.WaitIdle());
  EXPECT_EQ(app.ReadPixel(20, 30), RGB(10, 20, 30));
  EXPECT_EQ(app.ReadPixel(119, 109), RGB(10, 20, 30));
  EXPECT_EQ(app.ReadPixel(120, 109), RGB(0, 0, 0)) << "outside the window";
  EXPECT_EQ(app.ReadPixel(240, 0), CLR_INVALID);

  app.Tap(25, 40);
  ASSERT_TRUE(app.WaitIdle());
  EXPECT_EQ(Events(), (std::vector<std::string>{"down 5,10", "up 5,10"}));
  EXPECT_EQ(app.ReadPixel(50, 50), RGB(200, 100, 50)) << "the tap's repaint was waited for";

  app.Tap(5, 5);  // outside every window
  ASSERT_TRUE(app.WaitIdle());
  EXPECT_EQ(Events().size(), 2u);
}

TEST_F(HarnessTest, KeysTypeAndCtrlCopiesToTheDesktopClipboard) {
  pda::testing::Harness app(TinyWinMain);
  ASSERT_TRUE(app.WaitIdle());
  app.Key('Q');
  app.Key('Q', {.ctrl = false, .shift = true});
  app.Key('C', {.ctrl = true});
  ASSERT_TRUE(app.WaitIdle());
  EXPECT_EQ(Events(), (std::vector<std::string>{"char q", "char Q"}));
  EXPECT_EQ(app.ClipboardText(), "47.6062095,-122.3320708");
}

TEST_F(HarnessTest, ScreenshotIsAPngOfTheScreen) {
  pda::testing::Harness app(TinyWinMain);
  ASSERT_TRUE(app.WaitIdle());
  const std::string path = ::testing::TempDir() + "harness_screenshot.png";
  ASSERT_TRUE(app.SaveScreenshot(path));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<std::uint8_t> bytes;
  for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
  std::fclose(f);
  std::remove(path.c_str());
  auto decoded = pda::gdi::DecodePng(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width(), 240);
  EXPECT_EQ(decoded->height(), 320);
  EXPECT_EQ(pda::gdi::ColorrefFromPixel(decoded->Color(30, 40)), RGB(10, 20, 30));
}

TEST_F(HarnessTest, ClosingTheWindowEndsTheAppWithItsExitCode) {
  pda::testing::Harness app(TinyWinMain);
  ASSERT_TRUE(app.WaitIdle());
  EXPECT_FALSE(app.Ended());
  app.Close(HWND{g_window.load()});
  ASSERT_TRUE(app.Join());
  EXPECT_TRUE(app.Ended());
  EXPECT_EQ(app.ExitCode(), 7);
  EXPECT_TRUE(app.WaitIdle()) << "an ended application is idle";
}

TEST_F(HarnessTest, PostQuitEndsTheMessageLoop) {
  pda::testing::Harness app(TinyWinMain);
  ASSERT_TRUE(app.WaitIdle());
  app.PostQuit(5);
  ASSERT_TRUE(app.Join());
  EXPECT_EQ(app.ExitCode(), 5);
}

int WINAPI BusyWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Keeps posting to itself: never idle until told to stop.
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  MSG msg;
  while (GetMessageW(&msg, HWND{}, 0, 0) > 0)
    if (msg.message == WM_USER) PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  return static_cast<int>(msg.wParam);
}

TEST_F(HarnessTest, WaitIdleGivesUpOnABusyApplication) {
  pda::testing::Harness app(BusyWinMain);
  EXPECT_FALSE(app.WaitIdle(std::chrono::milliseconds(200)));
  app.PostQuit(3);
  ASSERT_TRUE(app.Join());
  EXPECT_EQ(app.ExitCode(), 3);
}

}  // namespace
