// Routing of the stylus and keys: the window under the point, client coordinates, disabled
// windows, no implicit capture, keys to the focus, and Ctrl seen by accelerators.
#include <gtest/gtest.h>

#include "backend/input_router.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

using pda::backend::PostKey;
using pda::backend::StylusRouter;

class RoutingTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    top_ = Make(WS_VISIBLE, HWND{}, 0, 0, 200, 200);
    child_ = Child(top_, 50, 50, 100, 100);
    Drain();
    Recorder::Get().Clear();
  }
  // The stylus messages each window got, as "name x,y".
  std::vector<std::string> Stylus() {
    std::vector<std::string> out;
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, WM_MOUSEMOVE, WM_LBUTTONUP, PM_REMOVE)) {
      out.push_back(pda::testing::MessageName(msg.message) + "@" +
                    (msg.hwnd == top_ ? "top" : msg.hwnd == child_ ? "child" : "?") + " " +
                    std::to_string(LOWORD(msg.lParam)) + "," + std::to_string(HIWORD(msg.lParam)) +
                    (msg.wParam ? " MK_LBUTTON" : ""));
    }
    return out;
  }
  HWND top_, child_;
  StylusRouter stylus_;
};

TEST_F(RoutingTest, PressGoesToTheDeepestWindowInClientCoordinates) {
  stylus_.Down(POINT{60, 70});
  stylus_.Up(POINT{10, 20});
  EXPECT_EQ(Stylus(), (std::vector<std::string>{"WM_LBUTTONDOWN@child 10,20 MK_LBUTTON",
                                                "WM_LBUTTONUP@top 10,20"}))
      << "the release outside the child is not captured by it";
}

TEST_F(RoutingTest, MovesCountOnlyWhileTheStylusIsDown) {
  stylus_.Move(POINT{5, 5});
  stylus_.Down(POINT{5, 5});
  stylus_.Move(POINT{55, 56});
  stylus_.Up(POINT{55, 56});
  stylus_.Move(POINT{6, 6});
  EXPECT_EQ(Stylus(), (std::vector<std::string>{"WM_LBUTTONDOWN@top 5,5 MK_LBUTTON",
                                                "WM_MOUSEMOVE@child 5,6 MK_LBUTTON",
                                                "WM_LBUTTONUP@child 5,6"}));
}

TEST_F(RoutingTest, DisabledWindowsSwallowTheStylus) {
  EnableWindow(child_, FALSE);
  stylus_.Down(POINT{60, 60});
  stylus_.Up(POINT{60, 60});
  EXPECT_TRUE(Stylus().empty()) << "the disabled child swallows it, the parent does not get it";
  EnableWindow(child_, TRUE);
  EnableWindow(top_, FALSE);
  stylus_.Down(POINT{60, 60});
  stylus_.Up(POINT{60, 60});
  EXPECT_TRUE(Stylus().empty()) << "a child of a disabled window is disabled too";
}

TEST_F(RoutingTest, HiddenWindowsAndEmptyScreenGetNothing) {
  ShowWindow(child_, SW_HIDE);
  stylus_.Down(POINT{60, 60});
  stylus_.Up(POINT{300, 300});
  EXPECT_EQ(Stylus(), (std::vector<std::string>{"WM_LBUTTONDOWN@top 60,60 MK_LBUTTON"}));
}

TEST_F(RoutingTest, UpperTopLevelWindowWinsTheOverlap) {
  HWND above = Make(WS_VISIBLE, HWND{}, 100, 100, 50, 50);
  ASSERT_EQ(pda::backend::WindowUnderPoint(POINT{120, 120}).window, above);
  EXPECT_EQ(pda::backend::WindowUnderPoint(POINT{99, 120}).window, child_);
}

TEST_F(RoutingTest, KeysGoToTheFocusWindowElseTheForegroundWindow) {
  SetFocus(child_);
  ASSERT_TRUE(PostKey('A', true));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, child_);
  EXPECT_EQ(msg.wParam, WPARAM{'A'});
  SetFocus(HWND{});
  if (!GetFocus()) {
    ASSERT_TRUE(PostKey('A', false));
    ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, GetForegroundWindow());
    EXPECT_EQ(msg.message, WM_KEYUP);
  }
}

TEST_F(RoutingTest, CtrlHeldThroughKeyMessagesReachesAccelerators) {
  SetFocus(child_);
  ACCEL table[] = {{FVIRTKEY | FCONTROL, 'C', 4242}};
  HACCEL accel = CreateAcceleratorTableW(table, 1);
  int commands = 0;
  Recorder::Get().On(WM_COMMAND, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    if (LOWORD(w) == 4242) ++commands;
    return 0;
  });
  auto pump = [&] {
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE))
      if (!TranslateAcceleratorW(top_, accel, &msg)) DispatchMessageW(&msg);
  };
  PostKey('C', true);
  PostKey('C', false);
  pump();
  EXPECT_EQ(commands, 0) << "without Ctrl";
  PostKey(VK_CONTROL, true);
  PostKey('C', true);
  PostKey('C', false);
  PostKey(VK_CONTROL, false);
  pump();
  EXPECT_EQ(commands, 1);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Ctrl is up again";
  DestroyAcceleratorTable(accel);
}

}  // namespace
}  // namespace pda::user_test
