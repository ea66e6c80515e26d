// Pressed soft keys and input-panel keys hold the stylus until it is lifted, driven as a user
// drives them (the harness routes the stylus as the back ends do): a key shows pressed only
// while the stylus is over it, runs only on a release over it, and a press ended by another
// window taking the stylus runs nothing.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "pda/resources.h"
#include "pda/shell.h"
#include "pda/testing/harness.h"
#include "pda/testing/user.h"
#include "shell/bar_layout.h"
#include "shell/keyboard_layout.h"
#include "shell/shell_metrics.h"

namespace {

constexpr char16_t kClass[] = u"CaptureProbe";
constexpr UINT kExit = 40100, kSettings = 2000;
const HINSTANCE kInstance{0x6200};

std::mutex g_mutex;
std::u16string g_heard;  // 'E' for an Exit command, 'S' for Settings, typed characters as they are
std::atomic<std::uint32_t> g_main{0}, g_bar{0}, g_thief{0};

void Hear(char16_t c) {
  std::lock_guard lock(g_mutex);
  g_heard.push_back(c);
}
std::u16string Heard() {
  std::lock_guard lock(g_mutex);
  return g_heard;
}

LRESULT ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kExit) Hear(u'E');
      if (LOWORD(wParam) == kSettings) Hear(u'S');
      return 0;
    case WM_CHAR: Hear(static_cast<char16_t>(wParam)); return 0;
    case WM_USER: SetCapture(HWND{g_thief.load()}); return 0;  // another window takes the stylus
    case WM_USER + 1: SipShowIM(wParam ? SIPF_ON : SIPF_OFF); return 0;
    case WM_DESTROY:
      if (window.value == g_main.load()) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

int WINAPI ProbeMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  using pda::MenuItemResource, pda::MenuResource;
  static const MenuItemResource items[] = {{kExit, u"Exit", MF_STRING},
                                           {kSettings, u"Settings", MF_STRING}};
  static const std::array<MenuResource, 1> menus{{{40001, items}}};
  if (!pda::RegisterResources(kInstance, {.menus = menus})) return -1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  const HWND main = CreateWindowExW(0, kClass, u"Probe", 0, 0, 0, 10, 10, HWND{}, HANDLE{},
                                    instance, nullptr);
  const HWND thief = CreateWindowExW(0, kClass, u"Thief", 0, 0, 0, 1, 1, HWND{}, HANDLE{},
                                     instance, nullptr);
  if (!main || !thief) return -1;
  g_main = main.value;
  g_thief = thief.value;
  ShowWindow(main, show);
  SetForegroundWindow(main);
  SetFocus(main);
  SHMENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  bar.hwndParent = main;
  bar.dwFlags = SHCMBF_HMENU;
  bar.nToolBarId = 40001;
  bar.hInstRes = kInstance;
  if (!SHCreateMenuBar(&bar)) return -2;
  g_bar = bar.hwndMB.value;
  MSG msg;
  while (GetMessageW(&msg, HWND{}, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(thief);  // with the stylus it may still hold
  DestroyWindow(main);
  return 0;
}

RECT Moved(RECT r, LONG dx, LONG dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
// A point of the key's face away from its label.
POINT Corner(const RECT& r) { return {r.left + 3, r.top + 3}; }

struct Key {
  RECT rect;  // screen coordinates
  char16_t heard;
};

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(240, 320, 96);
    std::lock_guard lock(g_mutex);
    g_heard.clear();
  }

  static Key SoftKey(pda::testing::Harness&) {
    RECT bar{};
    GetWindowRect(HWND{g_bar.load()}, &bar);
    const RECT local{0, 0, bar.right - bar.left, bar.bottom - bar.top};
    return {Moved(pda::shell::LayOutMenuBar(local, true).left, bar.left, bar.top), u'E'};
  }
  static Key PanelKey(pda::testing::Harness& app) {
    PostMessageW(HWND{g_main.load()}, WM_USER + 1, 1, 0);
    EXPECT_TRUE(app.WaitIdle());
    const RECT panel = pda::shell::InputPanelRect();
    const RECT local{0, 0, panel.right - panel.left, panel.bottom - panel.top};
    for (const auto& placed : pda::shell::LayOutKeyboard(pda::shell::KeyboardPage::Letters, local))
      if (placed.key.action == pda::shell::KeyAction::Character) {
        return {Moved(placed.rect, panel.left, panel.top), pda::shell::CharacterOf(placed.key, false)};
      }
    ADD_FAILURE() << "no character key";
    return {};
  }
};

TEST_F(CaptureTest, AKeyRunsOnlyOnAReleaseOverItAndShowsPressedOnlyWhileTheStylusIsOnIt) {
  using KeyOf = Key (*)(pda::testing::Harness&);
  const struct {
    const char* name;
    KeyOf key;
  } kinds[] = {{"soft key", &CaptureTest::SoftKey}, {"input-panel key", &CaptureTest::PanelKey}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.name);
    pda::testing::Harness app(ProbeMain);
    ASSERT_TRUE(app.WaitIdle());
    const Key key = kind.key(app);
    const POINT on = Centre(key.rect), face = Corner(key.rect), off{120, 40};
    const COLORREF idle = app.ReadPixel(face.x, face.y);

    // Press, slide off, release elsewhere: nothing runs, the highlight is gone.
    app.Press(on.x, on.y);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_NE(app.ReadPixel(face.x, face.y), idle) << "pressed while over the key";
    app.MoveTo(off.x, off.y);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(app.ReadPixel(face.x, face.y), idle) << "not pressed once the stylus left";
    app.Release(off.x, off.y);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(Heard(), u"");
    EXPECT_EQ(app.ReadPixel(face.x, face.y), idle);

    // Press, slide off and back on, release: it runs.
    app.Press(on.x, on.y);
    app.MoveTo(off.x, off.y);
    app.MoveTo(on.x, on.y);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_NE(app.ReadPixel(face.x, face.y), idle) << "pressed again once back on the key";
    app.Release(on.x, on.y);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(Heard(), std::u16string(1, key.heard));
    EXPECT_EQ(app.ReadPixel(face.x, face.y), idle);

    // Another window takes the stylus during the press: the press ends and runs nothing.
    app.Press(on.x, on.y);
    ASSERT_TRUE(app.WaitIdle());
    PostMessageW(HWND{g_main.load()}, WM_USER, 0, 0);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(app.ReadPixel(face.x, face.y), idle) << "capture lost";
    app.Release(on.x, on.y);
    ASSERT_TRUE(app.WaitIdle());
    EXPECT_EQ(Heard(), std::u16string(1, key.heard));

    std::lock_guard lock(g_mutex);
    g_heard.clear();
  }
}

}  // namespace
