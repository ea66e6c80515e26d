// Events, threads and the waits on them.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <atomic>

#include "pda/kernel.h"
#include "pda/owners.h"

using UniqueHandle = pda::UniqueKernelHandle;

namespace {

UniqueHandle MakeEvent(bool manualReset, bool initialState = false) {
  return UniqueHandle(CreateEventW(nullptr, manualReset, initialState, nullptr));
}

TEST(Wait, SeveralSetsOfAnAutoResetEventCollapseIntoOneWakeUp) {
  UniqueHandle event = MakeEvent(false);
  ASSERT_TRUE(event.get());
  ASSERT_TRUE(SetEvent(event.get()));
  ASSERT_TRUE(SetEvent(event.get()));
  ASSERT_TRUE(SetEvent(event.get()));
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_TIMEOUT);
}

TEST(Wait, ManualResetEventStaysSignalledUntilReset) {
  UniqueHandle event = MakeEvent(true);
  SetEvent(event.get());
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
  ResetEvent(event.get());
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_TIMEOUT);
}

TEST(Wait, InitialStateIsHonoured) {
  UniqueHandle event = MakeEvent(false, true);
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0);
}

TEST(Wait, TimeOutReturnsWaitTimeout) {
  UniqueHandle event = MakeEvent(false);
  EXPECT_EQ(WaitForSingleObject(event.get(), 30), WAIT_TIMEOUT);
  const HANDLE handles[] = {event.get()};
  EXPECT_EQ(WaitForMultipleObjects(1, handles, FALSE, 30), WAIT_TIMEOUT);
}

struct ThreeEvents {
  std::array<UniqueHandle, 3> owners{MakeEvent(false), MakeEvent(false), MakeEvent(false)};
  std::array<HANDLE, 3> handles{owners[0].get(), owners[1].get(), owners[2].get()};
};

TEST(Wait, LowestSignalledIndexWinsAndOnlyItsSignalIsTaken) {
  ThreeEvents e;
  SetEvent(e.handles[2]);
  SetEvent(e.handles[1]);
  SetEvent(e.handles[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), FALSE, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), FALSE, 0), WAIT_TIMEOUT);
}

TEST(Wait, WaitAllNeedsEverySignalAndTakesNoneUntilThen) {
  ThreeEvents e;
  SetEvent(e.handles[0]);
  SetEvent(e.handles[2]);
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), TRUE, 20), WAIT_TIMEOUT);
  // The two signals were not consumed by the failed wait.
  SetEvent(e.handles[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), TRUE, 0), WAIT_OBJECT_0);
  for (HANDLE h : e.handles) EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
}

DWORD SetThirdEventLater(LPVOID parameter) {
  Sleep(20);
  SetEvent(*static_cast<HANDLE*>(parameter));
  return 0;
}

TEST(Wait, BlockedWaitWakesWhenAnotherThreadSignals) {
  ThreeEvents e;
  UniqueHandle thread(CreateThread(nullptr, 0, SetThirdEventLater, &e.handles[2], 0, nullptr));
  ASSERT_TRUE(thread.get());
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), FALSE, INFINITE), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForSingleObject(thread.get(), INFINITE), WAIT_OBJECT_0);
}

DWORD SetAllLater(LPVOID parameter) {
  auto* handles = static_cast<HANDLE*>(parameter);
  for (int i = 2; i >= 0; --i) {
    Sleep(5);
    SetEvent(handles[i]);
  }
  return 0;
}

TEST(Wait, BlockedWaitAllWakesWhenTheLastArrives) {
  ThreeEvents e;
  UniqueHandle thread(CreateThread(nullptr, 0, SetAllLater, e.handles.data(), 0, nullptr));
  EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), TRUE, INFINITE), WAIT_OBJECT_0);
  WaitForSingleObject(thread.get(), INFINITE);
}

DWORD ReturnParameter(LPVOID parameter) {
  Sleep(10);
  return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(parameter));
}

TEST(Wait, ThreadIsSignalledWhenItEndsAndKeepsItsExitCode) {
  DWORD id = 0;
  UniqueHandle thread(
      CreateThread(nullptr, 0, ReturnParameter, reinterpret_cast<LPVOID>(42), 0, &id));
  ASSERT_TRUE(thread.get());
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread.get(), &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread.get(), INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread.get(), 0), WAIT_OBJECT_0);  // stays signalled
  ASSERT_TRUE(GetExitCodeThread(thread.get(), &code));
  EXPECT_EQ(code, 42u);
}

TEST(Wait, ThreadAndEventInOneWait) {
  UniqueHandle event = MakeEvent(false);
  UniqueHandle thread(CreateThread(nullptr, 0, ReturnParameter, nullptr, 0, nullptr));
  const HANDLE handles[] = {event.get(), thread.get()};
  EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
}

DWORD ReportOwnId(LPVOID parameter) {
  *static_cast<DWORD*>(parameter) = GetCurrentThreadId();
  return 0;
}

TEST(Wait, CreatedThreadSeesTheIdItsCreatorWasGiven) {
  DWORD seen = 0, given = 0;
  UniqueHandle thread(CreateThread(nullptr, 0, ReportOwnId, &seen, 0, &given));
  WaitForSingleObject(thread.get(), INFINITE);
  EXPECT_EQ(seen, given);
  // The main thread, not created by the platform, has a stable id of its own.
  EXPECT_NE(GetCurrentThreadId(), 0u);
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
  EXPECT_NE(GetCurrentThreadId(), given);
}

std::atomic<int> g_released{0};
DWORD WaitOnManualEvent(LPVOID parameter) {
  WaitForSingleObject(*static_cast<HANDLE*>(parameter), INFINITE);
  g_released.fetch_add(1);
  return 0;
}

TEST(Wait, ManualResetEventReleasesEveryWaiter) {
  UniqueHandle event = MakeEvent(true);
  HANDLE handle = event.get();
  g_released = 0;
  std::array<UniqueHandle, 3> threads;
  for (auto& t : threads) t = UniqueHandle(CreateThread(nullptr, 0, WaitOnManualEvent, &handle, 0, nullptr));
  Sleep(10);
  SetEvent(handle);
  for (auto& t : threads) EXPECT_EQ(WaitForSingleObject(t.get(), INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(g_released.load(), 3);
}

TEST(Wait, PulseWithoutWaitersLeavesTheEventReset) {
  UniqueHandle event = MakeEvent(true, true);
  ASSERT_TRUE(PulseEvent(event.get()));
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_TIMEOUT);
}

TEST(Wait, PulseReleasesABlockedWaiter) {
  UniqueHandle event = MakeEvent(false);
  HANDLE handle = event.get();
  g_released = 0;
  UniqueHandle thread(CreateThread(nullptr, 0, WaitOnManualEvent, &handle, 0, nullptr));
  // Pulse until the waiter has been caught blocked at least once.
  while (WaitForSingleObject(thread.get(), 5) == WAIT_TIMEOUT) PulseEvent(handle);
  EXPECT_EQ(g_released.load(), 1);
  EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_TIMEOUT);
}

TEST(Handles, StaleHandleFailsWithInvalidHandle) {
  const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(event));
  // A new object may reuse the slot; the old handle must still be refused.
  UniqueHandle reuse = MakeEvent(false, true);
  SetLastError(0);
  EXPECT_FALSE(SetEvent(event));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  SetLastError(0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(event));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WaitForSingleObject(reuse.get(), 0), WAIT_OBJECT_0);
}

TEST(Handles, HandleOfOneKindIsRefusedAsAnother) {
  UniqueHandle thread(CreateThread(nullptr, 0, ReturnParameter, nullptr, 0, nullptr));
  SetLastError(0);
  EXPECT_FALSE(SetEvent(thread.get()));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  UniqueHandle event = MakeEvent(false);
  DWORD code;
  EXPECT_FALSE(GetExitCodeThread(event.get(), &code));
  WaitForSingleObject(thread.get(), INFINITE);
}

struct BadWaitCase {
  const char* name;
  DWORD count;
  bool nullArray;
  BOOL waitAll;
  bool duplicate;
  DWORD error;
};
void PrintTo(const BadWaitCase& c, std::ostream* os) { *os << c.name; }

class BadWait : public ::testing::TestWithParam<BadWaitCase> {};

TEST_P(BadWait, FailsWithTheRightError) {
  const BadWaitCase& c = GetParam();
  UniqueHandle event = MakeEvent(false, true);
  UniqueHandle other = MakeEvent(false, true);
  std::array<HANDLE, MAXIMUM_WAIT_OBJECTS + 1> handles;
  handles.fill(other.get());
  handles[0] = event.get();
  if (c.duplicate) handles[1] = event.get();
  SetLastError(0);
  EXPECT_EQ(WaitForMultipleObjects(c.count, c.nullArray ? nullptr : handles.data(), c.waitAll, 0),
            WAIT_FAILED);
  EXPECT_EQ(GetLastError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Wait, BadWait,
    ::testing::Values(BadWaitCase{"ZeroHandles", 0, false, FALSE, false, ERROR_INVALID_PARAMETER},
                      BadWaitCase{"TooManyHandles", MAXIMUM_WAIT_OBJECTS + 1, false, FALSE, false,
                                  ERROR_INVALID_PARAMETER},
                      BadWaitCase{"NullArray", 2, true, FALSE, false, ERROR_INVALID_PARAMETER},
                      BadWaitCase{"SameObjectTwiceInWaitAll", 2, false, TRUE, true,
                                  ERROR_INVALID_PARAMETER}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Handles, NamedEventsAreRefused) {
  SetLastError(0);
  EXPECT_FALSE(CreateEventW(nullptr, FALSE, FALSE, u"name"));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

TEST(Handles, SuspendedThreadsAreRefused) {
  SetLastError(0);
  EXPECT_FALSE(CreateThread(nullptr, 0, ReturnParameter, nullptr, CREATE_SUSPENDED, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

TEST(Handles, ThreadRunsOnAfterItsHandleIsClosed) {
  UniqueHandle event = MakeEvent(false);
  HANDLE handle = event.get();
  CloseHandle(CreateThread(nullptr, 0, SetThirdEventLater, &handle, 0, nullptr));
  EXPECT_EQ(WaitForSingleObject(handle, INFINITE), WAIT_OBJECT_0);
}

}  // namespace
