// Routing of the stylus and keys: the window under the point, client coordinates, disabled
// windows, no implicit capture, the stylus capture and its end, keys to the focus, and Ctrl seen
// by accelerators.
#include <gtest/gtest.h>

#include "user/input_router.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

using pda::user::PostKey;
using pda::user::StylusRouter;

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
                    std::to_string(static_cast<short>(LOWORD(msg.lParam))) + "," +
                    std::to_string(static_cast<short>(HIWORD(msg.lParam))) +
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
  ASSERT_EQ(pda::user::WindowUnderPoint(POINT{120, 120}).window, above);
  EXPECT_EQ(pda::user::WindowUnderPoint(POINT{99, 120}).window, child_);
}

TEST_F(RoutingTest, CaptureWindowGetsTheWholeStrokeInItsClientCoordinates) {
  EXPECT_EQ(SetCapture(child_), HWND{});
  EXPECT_EQ(GetCapture(), child_);
  stylus_.Down(POINT{10, 20});    // on the parent, outside the child
  stylus_.Move(POINT{300, 300});  // on no window at all
  stylus_.Up(POINT{120, 120});
  ReleaseCapture();
  stylus_.Down(POINT{10, 20});
  stylus_.Up(POINT{10, 20});
  EXPECT_EQ(Stylus(), (std::vector<std::string>{"WM_LBUTTONDOWN@child -40,-30 MK_LBUTTON",
                                                "WM_MOUSEMOVE@child 250,250 MK_LBUTTON",
                                                "WM_LBUTTONUP@child 70,70",
                                                "WM_LBUTTONDOWN@top 10,20 MK_LBUTTON",
                                                "WM_LBUTTONUP@top 10,20"}));
}

// How the capture ends: who is told, with which successor, and in what order.
struct CaptureEnd {
  const char* name;
  void (*act)(HWND top, HWND child);
  std::vector<std::string> childGets;  // messages to the child holding the capture, in order
  bool topHoldsAfter;
};
void PrintTo(const CaptureEnd& c, std::ostream* os) { *os << c.name; }

class CaptureEndTest : public RoutingTest, public ::testing::WithParamInterface<CaptureEnd> {};

TEST_P(CaptureEndTest, TheLosingWindowIsToldOnce) {
  const CaptureEnd& c = GetParam();
  ASSERT_EQ(SetCapture(child_), HWND{});
  std::vector<std::string> successors;
  Recorder::Get().On(WM_CAPTURECHANGED, [&](HWND window, WPARAM, LPARAM lParam) -> LRESULT {
    const HWND gaining{static_cast<std::uint32_t>(lParam)};
    successors.push_back(std::string(window == child_ ? "child" : "?") + " loses to " +
                         (gaining == top_ ? "top" : gaining ? "?" : "none"));
    return 0;
  });
  c.act(top_, child_);
  std::vector<std::string> got;
  for (const std::string& name : Recorder::Get().NamesFor(child_))
    if (name == "WM_CAPTURECHANGED" || name == "WM_DESTROY") got.push_back(name);
  EXPECT_EQ(got, c.childGets);
  EXPECT_EQ(successors, (std::vector<std::string>{std::string("child loses to ") +
                                                   (c.topHoldsAfter ? "top" : "none")}));
  EXPECT_EQ(GetCapture(), c.topHoldsAfter ? top_ : HWND{});
}

INSTANTIATE_TEST_SUITE_P(
    Ends, CaptureEndTest,
    ::testing::Values(
        CaptureEnd{"ReleaseCapture", [](HWND, HWND) { ReleaseCapture(); },
                   {"WM_CAPTURECHANGED"}, false},
        CaptureEnd{"AnotherWindowTakesIt",
                   [](HWND top, HWND child) {
                     SetCapture(child);  // the holder again: nothing changes hands
                     EXPECT_EQ(SetCapture(top), child);
                   },
                   {"WM_CAPTURECHANGED"}, true},
        CaptureEnd{"HolderDestroyed", [](HWND, HWND child) { DestroyWindow(child); },
                   {"WM_CAPTURECHANGED", "WM_DESTROY"}, false},
        CaptureEnd{"HolderHidden", [](HWND, HWND child) { ShowWindow(child, SW_HIDE); },
                   {"WM_CAPTURECHANGED"}, false},
        CaptureEnd{"ParentHidden", [](HWND top, HWND) { ShowWindow(top, SW_HIDE); },
                   {"WM_CAPTURECHANGED"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

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
