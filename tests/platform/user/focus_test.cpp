// Focus and activation: the messages that go with them and where they go when windows leave.
#include "user/activation.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

using Names = std::vector<std::string>;

TEST_F(UserTest, SetFocusKillsTheOldFocusThenSetsTheNewWithEachOtherAsParameter) {
  const HWND main = Make(WS_VISIBLE);
  const HWND a = Child(main, 0, 0, 10, 10);
  const HWND b = Child(main, 0, 10, 10, 10);
  SetFocus(a);
  WPARAM killParam = 0;
  WPARAM setParam = 0;
  Recorder::Get().Clear();
  Recorder::Get().On(WM_KILLFOCUS, [&](HWND, WPARAM w, LPARAM) -> LRESULT { killParam = w; return 0; });
  Recorder::Get().On(WM_SETFOCUS, [&](HWND, WPARAM w, LPARAM) -> LRESULT { setParam = w; return 0; });
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  const std::map<std::uint32_t, std::string> tags{{main.value, "main"}, {a.value, "a"}, {b.value, "b"}};
  EXPECT_EQ(Recorder::Get().Tagged(tags), (Names{"WM_KILLFOCUS@a", "WM_SETFOCUS@b"}));
  EXPECT_EQ(killParam, b.value);
  EXPECT_EQ(setParam, a.value);
}

TEST_F(UserTest, DisabledWindowsCannotTakeTheFocusAndDisablingDropsIt) {
  const HWND main = Make(WS_VISIBLE);
  const HWND a = Child(main, 0, 0, 10, 10);
  const HWND off = Child(main, 0, 10, 10, 10, 0, WS_VISIBLE | WS_DISABLED);
  SetFocus(a);
  EXPECT_EQ(SetFocus(off), HWND{});
  EXPECT_EQ(GetFocus(), a);
  EnableWindow(a, FALSE);
  EXPECT_EQ(GetFocus(), HWND{});
}

TEST_F(UserTest, DestroyingTheFocusChildGivesTheFocusToItsParent) {
  const HWND main = Make(WS_VISIBLE);
  const HWND edit = Child(main, 0, 0, 10, 10);
  SetFocus(edit);
  Recorder::Get().Clear();
  DestroyWindow(edit);
  EXPECT_EQ(GetFocus(), main);
  const std::map<std::uint32_t, std::string> tags{{main.value, "main"}, {edit.value, "edit"}};
  EXPECT_EQ(Recorder::Get().Tagged(tags),
            (Names{"WM_KILLFOCUS@edit", "WM_SETFOCUS@main", "WM_DESTROY@edit"}));
}

TEST_F(UserTest, ActivationSwitchesBetweenTopLevelWindowsWithActivateMessages) {
  const HWND first = Make(WS_VISIBLE);
  const HWND second = Make(WS_VISIBLE);
  EXPECT_EQ(GetForegroundWindow(), second);
  LPARAM otherSeenByFirst = 0;
  Recorder::Get().Clear();
  Recorder::Get().On(WM_ACTIVATE, [&](HWND w, WPARAM, LPARAM l) -> LRESULT {
    if (w == first) otherSeenByFirst = l;
    return 0;
  });
  ASSERT_TRUE(SetForegroundWindow(first));
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(GetFocus(), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDFIRST), first);  // raised to the top
  const std::map<std::uint32_t, std::string> tags{{first.value, "first"}, {second.value, "second"}};
  EXPECT_EQ(Recorder::Get().Tagged(tags),
            (Names{"WM_ACTIVATE@second", "WM_ACTIVATE@first", "WM_KILLFOCUS@second",
                   "WM_SETFOCUS@first"}));
  EXPECT_EQ(otherSeenByFirst, static_cast<LPARAM>(second.value));
}

TEST_F(UserTest, DestroyingTheForegroundWindowActivatesTheNextShownWindow) {
  const HWND first = Make(WS_VISIBLE);
  const HWND second = Make(WS_VISIBLE);
  ASSERT_EQ(GetForegroundWindow(), second);
  DestroyWindow(second);
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(GetFocus(), first);
}

// A window disabled while a window it owns runs modally (a dialog, a property sheet) hands a
// request for the front to that window, as a second instance's request for the first would.
TEST_F(UserTest, ADisabledOwnerHandsTheFrontToTheWindowItWaitsOn) {
  const HWND main = Make(WS_VISIBLE);
  const HWND modal = Make(WS_VISIBLE | WS_POPUP, main);
  Make(WS_VISIBLE);
  EnableWindow(main, FALSE);
  ASSERT_TRUE(SetForegroundWindow(main));
  EXPECT_EQ(GetForegroundWindow(), modal);
  EnableWindow(main, TRUE);
  ASSERT_TRUE(SetForegroundWindow(main));
  EXPECT_EQ(GetForegroundWindow(), main) << "enabled again, it takes the front itself";
}

TEST_F(UserTest, TheActivationHookLearnsWhichWindowCameToTheFront) {
  const HWND first = Make(WS_VISIBLE);
  Make(WS_VISIBLE);
  HWND raised;
  pda::user::SetActivationHook([&](HWND w) { raised = w; });
  SetForegroundWindow(first);
  pda::user::SetActivationHook({});
  EXPECT_EQ(raised, first);
}

TEST_F(UserTest, SetForegroundFromAnotherThreadRunsOnTheWindowsThread) {
  Watchdog watchdog;
  const HWND first = Make(WS_VISIBLE);
  const HWND second = Make(WS_VISIBLE);
  Drain();
  std::thread other([&] { EXPECT_TRUE(SetForegroundWindow(first)); });
  other.join();
  EXPECT_EQ(GetForegroundWindow(), second);  // nothing happens until this thread pumps
  Drain();
  EXPECT_EQ(GetForegroundWindow(), first);
}

}  // namespace
}  // namespace pda::user_test
