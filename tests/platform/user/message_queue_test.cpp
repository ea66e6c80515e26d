// The thread message queue: waking across threads, sending across threads, retrieval order,
// timers on the test clock, key translation.
#include <atomic>

#include "user_fixture.h"

namespace pda::user_test {
namespace {

using Names = std::vector<std::string>;
using pda::testing::AdvanceClock;
using pda::testing::UseManualClock;

std::atomic<int> timerCalls{0};
void CountingTimer(HWND, UINT message, UINT_PTR id, DWORD) {
  if (message == WM_TIMER && id == 16294) ++timerCalls;
}

TEST_F(UserTest, PostFromAnotherThreadWakesABlockedGetMessage) {
  Watchdog watchdog;
  const HWND window = Make(WS_VISIBLE);
  Drain();
  std::atomic<bool> blocked{false};
  // The poster waits until the main thread has announced it is about to block; whether it posts
  // before or after GetMessageW really sleeps, the message must arrive and nothing may hang.
  std::thread poster([&] {
    while (!blocked) std::this_thread::yield();
    PostMessageW(window, 0xA002, 0, 0);
  });
  blocked = true;
  MSG msg{};
  ASSERT_EQ(GetMessageW(&msg, HWND{}, 0, 0), TRUE);
  poster.join();
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(pda::testing::MessageName(msg.message), "WM_APP+8194");
}

TEST_F(UserTest, SendFromAnotherThreadRunsOnTheOwnerAndReturnsTheResult) {
  Watchdog watchdog;
  const HWND window = Make(WS_VISIBLE);
  Drain();
  std::atomic<DWORD> ranOn{0};
  Recorder::Get().On(WM_USER, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    ranOn = GetCurrentThreadId();
    return static_cast<LRESULT>(w * 2);
  });
  LRESULT result = 0;
  std::atomic<bool> done{false};
  std::thread sender([&] {
    result = SendMessageW(window, WM_USER, 21, 0);
    done = true;
    PostMessageW(window, WM_NULL, 0, 0);  // wakes the loop below once the reply is in
  });
  MSG msg;
  while (!done && GetMessageW(&msg, HWND{}, 0, 0) > 0) DispatchMessageW(&msg);
  sender.join();
  EXPECT_EQ(result, 42);
  EXPECT_EQ(ranOn.load(), GetCurrentThreadId());
}

TEST_F(UserTest, SendToAThreadThatSendsBackDoesNotDeadlock) {
  Watchdog watchdog;
  const HWND mine = Make(WS_VISIBLE);
  Drain();
  std::atomic<HWND*> theirs{nullptr};
  HWND other;
  std::atomic<bool> ready{false};
  std::atomic<bool> stop{false};
  // The other thread's window answers WM_USER by sending WM_USER + 1 back to this thread's
  // window while this thread still waits for its own send.
  std::thread owner([&] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND, UINT message, WPARAM w, LPARAM l) -> LRESULT {
      if (message == WM_USER) return SendMessageW(HWND{static_cast<std::uint32_t>(l)}, WM_USER + 1, w, 0) + 1;
      return 0;
    };
    wc.lpszClassName = u"SendsBack";
    RegisterClassW(&wc);
    other = CreateWindowExW(0, u"SendsBack", u"", 0, 0, 0, 1, 1, HWND{}, HANDLE{}, HINSTANCE{},
                            nullptr);
    theirs = &other;
    ready = true;
    MSG msg;
    while (!stop && GetMessageW(&msg, HWND{}, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(other);
  });
  while (!ready) std::this_thread::yield();
  Recorder::Get().On(WM_USER + 1, [](HWND, WPARAM w, LPARAM) -> LRESULT { return static_cast<LRESULT>(w) * 10; });
  EXPECT_EQ(SendMessageW(*theirs.load(), WM_USER, 4, static_cast<LPARAM>(mine.value)), 41);
  stop = true;
  PostMessageW(other, WM_NULL, 0, 0);
  owner.join();
}

TEST_F(UserTest, RetrievalOrderIsPostedThenQuitThenPaintThenTimer) {
  UseManualClock(1000);
  const HWND window = Make(WS_VISIBLE);
  Drain();
  SetTimer(window, 1, 100, nullptr);
  AdvanceClock(100);
  InvalidateRect(window, nullptr, FALSE);
  PostMessageW(window, WM_USER, 0, 0);
  PostQuitMessage(3);
  Names order;
  MSG msg;
  for (int i = 0; i < 4 && PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE); ++i) {
    order.push_back(pda::testing::MessageName(msg.message));
    DispatchMessageW(&msg);  // the default procedure validates on WM_PAINT
  }
  EXPECT_EQ(order, (Names{"WM_USER+0", "WM_QUIT", "WM_PAINT", "WM_TIMER"}));
  KillTimer(window, 1);
}

TEST_F(UserTest, PeekWithoutRemoveLeavesTheMessageAndFiltersSelect) {
  const HWND a = Make(WS_VISIBLE);
  const HWND b = Make(WS_VISIBLE);
  Drain();
  PostMessageW(a, WM_USER, 1, 0);
  PostMessageW(b, WM_USER + 1, 2, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_USER + 1, WM_USER + 1, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, a);
  EXPECT_FALSE(PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, TimerRoutineFiresThroughTheTestClockNotBefore) {
  UseManualClock(0);
  timerCalls = 0;
  const HWND window = Make(WS_VISIBLE);
  Drain();
  ASSERT_NE(SetTimer(window, 16294, 5000, CountingTimer), 0u);
  AdvanceClock(4999);
  Drain();
  EXPECT_EQ(timerCalls, 0);
  AdvanceClock(1);
  Drain();
  EXPECT_EQ(timerCalls, 1);
  // A timer that fell far behind fires once, then again one interval later.
  AdvanceClock(20000);
  Drain();
  EXPECT_EQ(timerCalls, 2);
  AdvanceClock(5000);
  Drain();
  EXPECT_EQ(timerCalls, 3);
  ASSERT_TRUE(KillTimer(window, 16294));
  AdvanceClock(5000);
  Drain();
  EXPECT_EQ(timerCalls, 3);
  EXPECT_FALSE(KillTimer(window, 16294));
}

TEST_F(UserTest, BlockedGetMessageWakesWhenTheTestClockMakesATimerDue) {
  Watchdog watchdog;
  UseManualClock(0);
  const HWND window = Make(WS_VISIBLE);
  Drain();
  SetTimer(window, 7, 5000, nullptr);
  std::thread clock([] { AdvanceClock(5000); });
  MSG msg{};
  ASSERT_EQ(GetMessageW(&msg, HWND{}, 0, 0), TRUE);
  clock.join();
  EXPECT_EQ(pda::testing::MessageName(msg.message), "WM_TIMER");
  EXPECT_EQ(msg.wParam, 7u);
  KillTimer(window, 7);
}

TEST_F(UserTest, ThreadTimersGetTheirOwnIdsAndComeWithoutAWindow) {
  UseManualClock(0);
  const UINT_PTR first = SetTimer(HWND{}, 0, 10, nullptr);
  const UINT_PTR second = SetTimer(HWND{}, 0, 10, nullptr);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  AdvanceClock(10);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, HWND{});
  KillTimer(HWND{}, first);
  KillTimer(HWND{}, second);
}

TEST_F(UserTest, PostThreadMessageReachesTheThreadsQueue) {
  Watchdog watchdog;
  std::atomic<DWORD> id{0};
  std::atomic<bool> ready{false};
  MSG got{};
  std::thread receiver([&] {
    MSG msg;
    PeekMessageW(&msg, HWND{}, 0, 0, PM_NOREMOVE);  // makes the queue
    id = GetCurrentThreadId();
    ready = true;
    GetMessageW(&got, HWND{}, 0, 0);
  });
  while (!ready) std::this_thread::yield();
  EXPECT_TRUE(PostThreadMessageW(id, WM_APP + 1, 5, 6));
  receiver.join();
  EXPECT_EQ(got.message, WM_APP + 1);
  EXPECT_EQ(got.lParam, 6);
}

struct KeyCase {
  const char* name;
  std::vector<int> held;
  int key;
  char16_t expected;  // 0: no WM_CHAR
};

TEST_F(UserTest, TranslateMessagePostsTheCharacterOfTheKey) {
  const HWND window = Make(WS_VISIBLE);
  const KeyCase cases[] = {
      {"letter alone is lower case", {}, 'Q', u'q'},
      {"shift makes upper case", {VK_SHIFT}, 'Q', u'Q'},
      {"control makes a control character", {VK_LCONTROL}, 'Q', 0x11},
      {"digit", {}, '7', u'7'},
      {"shifted digit is its symbol", {VK_RSHIFT}, '1', u'!'},
      {"period key", {}, VK_OEM_PERIOD, u'.'},
      {"arrow makes no character", {}, VK_LEFT, 0},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    pda::testing::ResetKeyState();
    Drain();
    for (int held : c.held) PostMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(held), 0);
    PostMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(c.key), 0);
    MSG msg;
    char16_t typed = 0;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_CHAR) typed = static_cast<char16_t>(msg.wParam);
      TranslateMessage(&msg);
    }
    EXPECT_EQ(typed, c.expected);
  }
}

TEST_F(UserTest, KeyStateFollowsKeyMessagesTakenFromTheQueue) {
  const HWND window = Make(WS_VISIBLE);
  Drain();
  PostMessageW(window, WM_KEYDOWN, VK_LCONTROL, 0);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);  // not yet retrieved
  Drain();
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_LT(GetAsyncKeyState(VK_LCONTROL), 0);
  PostMessageW(window, WM_KEYUP, VK_LCONTROL, 0);
  Drain();
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

}  // namespace
}  // namespace pda::user_test
