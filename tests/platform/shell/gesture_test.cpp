// Tap-and-hold (SHRecognizeGesture) on the manual clock: a press held still for 500 ms or made
// with the secondary button is a gesture; one lifted or moved first is not, and its messages
// still reach the window; a destroyed window, WM_QUIT and a wrong record size end the wait.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "pda/shell.h"
#include "pda/testing/user.h"
#include "user/input_router.h"

namespace {

using pda::user::StylusRouter;

constexpr UINT kStep = WM_APP + 7;
constexpr char16_t kClientClass[] = u"GestureClient";
constexpr POINT kPress{100, 150};

// What happens while the gesture waits: one step per dispatch of kStep, in order.
using Step = std::function<void(StylusRouter&, HWND client)>;

struct PressRun {
  std::vector<Step> steps;
  DWORD flags = SHRG_RETURNCMD;
  DWORD cbSize = sizeof(SHRGINFO);
  std::optional<DWORD> result;
  std::vector<std::string> after;  // stylus and context-menu messages the client got afterwards
  StylusRouter stylus;
};
PressRun* run = nullptr;

LRESULT ClientProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (run->result) break;
      SHRGINFO info{run->cbSize, window, POINT{LOWORD(lParam), HIWORD(lParam)}, run->flags};
      run->result = SHRecognizeGesture(&info);
      return 0;
    }
    case kStep:
      if (wParam < run->steps.size()) {
        run->steps[wParam](run->stylus, window);
        PostMessageW(window, kStep, wParam + 1, 0);
      }
      return 0;
    case WM_MOUSEMOVE: run->after.push_back("move"); break;
    case WM_LBUTTONUP: run->after.push_back("up"); break;
    case WM_CONTEXTMENU:
      run->after.push_back("context " + std::to_string(static_cast<short>(LOWORD(lParam))) + "," +
                           std::to_string(static_cast<short>(HIWORD(lParam))));
      break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

Step Advance(DWORD ms) {
  return [ms](StylusRouter&, HWND) { pda::testing::AdvanceClock(ms); };
}
Step MoveBy(int dx, int dy) {
  return [dx, dy](StylusRouter& s, HWND) { s.Move(POINT{kPress.x + dx, kPress.y + dy}); };
}
Step Lift() {
  return [](StylusRouter& s, HWND) { s.Up(kPress); };
}

class GestureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(480, 640, 96);
    pda::testing::UseManualClock(1000);
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ClientProcedure;
      wc.lpszClassName = kClientClass;
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    client_ = CreateWindowExW(0, kClientClass, u"", WS_VISIBLE, 0, 0, 480, 640, HWND{}, HANDLE{},
                              HINSTANCE{}, nullptr);
    ASSERT_TRUE(client_);
  }
  void TearDown() override {
    if (IsWindow(client_)) DestroyWindow(client_);
    Drain();
    pda::testing::UseRealClock();
    pda::testing::ResetKeyState();
    run = nullptr;
  }
  static void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
      DispatchMessageW(&msg);
  }
  // Presses at kPress, lets the steps run while the gesture waits, then handles the rest.
  void Press(PressRun& r, bool secondary = false) {
    run = &r;
    r.stylus.Down(kPress, secondary);
    PostMessageW(client_, kStep, 0, 0);
    Drain();
  }
  HWND client_;
};

struct GestureCase {
  const char* name;
  bool secondary;
  DWORD flags;
  std::vector<Step> steps;
  DWORD expected;
  std::vector<std::string> after;
};
void PrintTo(const GestureCase& c, std::ostream* os) { *os << c.name; }

class GestureCaseTest : public GestureTest, public ::testing::WithParamInterface<GestureCase> {};

TEST_P(GestureCaseTest, DecidesThePressAndLeavesItsMessagesToTheWindow) {
  const GestureCase& c = GetParam();
  PressRun r;
  r.steps = c.steps;
  r.flags = c.flags;
  Press(r, c.secondary);
  ASSERT_TRUE(r.result) << "the press was handled";
  EXPECT_EQ(*r.result, c.expected);
  EXPECT_EQ(r.after, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GestureCaseTest,
    ::testing::Values(
        GestureCase{"HeldStillFor500ms", false, SHRG_RETURNCMD,
                    {MoveBy(2, -2), Advance(499), Advance(1), Lift()}, GN_CONTEXTMENU,
                    {"move", "up"}},
        GestureCase{"LiftedAt300ms", false, SHRG_RETURNCMD, {Advance(300), Lift(), Advance(300)},
                    0, {"up"}},
        GestureCase{"LiftedAt499ms", false, SHRG_RETURNCMD, {Advance(499), Lift(), Advance(1)}, 0,
                    {"up"}},
        GestureCase{"Moved20Pixels", false, SHRG_RETURNCMD,
                    {Advance(100), MoveBy(20, 0), Advance(500), Lift()}, 0, {"move", "up"}},
        GestureCase{"SecondaryButtonAtOnce", true, SHRG_RETURNCMD, {Lift()}, GN_CONTEXTMENU,
                    {"up"}},
        GestureCase{"WithoutReturnCmdTheClientGetsWmContextMenu", false, 0, {Advance(500)},
                    GN_CONTEXTMENU, {"context 100,150"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GestureTest, EndsWithoutAGestureWhenTheWaitCannotGoOn) {
  PressRun wrongSize;
  wrongSize.cbSize = 16;
  wrongSize.steps = {Advance(600)};
  Press(wrongSize);
  EXPECT_EQ(wrongSize.result, DWORD{0});

  PressRun destroyed;
  destroyed.steps = {[](StylusRouter&, HWND client) { DestroyWindow(client); }, Advance(600)};
  Press(destroyed);
  EXPECT_EQ(destroyed.result, DWORD{0});
  EXPECT_FALSE(IsWindow(client_));
}

TEST_F(GestureTest, QuitEndsTheWaitAndIsPostedAgain) {
  PressRun r;
  r.steps = {[](StylusRouter&, HWND) { PostQuitMessage(4); }};
  run = &r;
  r.stylus.Down(kPress);
  PostMessageW(client_, kStep, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
  DispatchMessageW(&msg);
  EXPECT_EQ(r.result, DWORD{0});
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 4u);
}

}  // namespace
