// Critical sections and the per-thread last-error value.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "pda/kernel.h"
#include "pda/owners.h"

using UniqueHandle = pda::UniqueKernelHandle;

namespace {

TEST(CriticalSection, OwnerMayEnterAgainAndOthersWaitUntilFullyLeft) {
  CRITICAL_SECTION section;
  std::memset(&section, 0, sizeof section);  // as the records of the program often are
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);

  struct Probe {
    CRITICAL_SECTION* section;
    BOOL entered;
  } probe{&section, TRUE};
  auto tryFromOtherThread = [](LPVOID p) -> DWORD {
    auto* probe = static_cast<Probe*>(p);
    probe->entered = TryEnterCriticalSection(probe->section);
    if (probe->entered) LeaveCriticalSection(probe->section);
    return 0;
  };
  UniqueHandle held(CreateThread(nullptr, 0, tryFromOtherThread, &probe, 0, nullptr));
  WaitForSingleObject(held.get(), INFINITE);
  EXPECT_FALSE(probe.entered) << "still held once by the owner";

  LeaveCriticalSection(&section);
  UniqueHandle freed(CreateThread(nullptr, 0, tryFromOtherThread, &probe, 0, nullptr));
  WaitForSingleObject(freed.get(), INFINITE);
  EXPECT_TRUE(probe.entered);
  DeleteCriticalSection(&section);
}

struct Counter {
  CRITICAL_SECTION section;
  long value = 0;  // deliberately read-modify-written in steps
};

DWORD CountUp(LPVOID parameter) {
  auto* counter = static_cast<Counter*>(parameter);
  for (int i = 0; i < 20000; ++i) {
    EnterCriticalSection(&counter->section);
    const long seen = counter->value;
    counter->value = seen + 1;
    LeaveCriticalSection(&counter->section);
  }
  return 0;
}

TEST(CriticalSection, ExcludesOtherThreads) {
  Counter counter;
  InitializeCriticalSection(&counter.section);
  std::array<UniqueHandle, 4> threads;
  for (auto& t : threads) t = UniqueHandle(CreateThread(nullptr, 0, CountUp, &counter, 0, nullptr));
  std::array<HANDLE, 4> handles;
  for (std::size_t i = 0; i < handles.size(); ++i) handles[i] = threads[i].get();
  EXPECT_EQ(WaitForMultipleObjects(4, handles.data(), TRUE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(counter.value, 4 * 20000);
  DeleteCriticalSection(&counter.section);
}

DWORD SetAndReportLastError(LPVOID parameter) {
  auto* seen = static_cast<DWORD*>(parameter);
  seen[0] = GetLastError();  // a new thread starts with no error
  SetLastError(ERROR_FILE_NOT_FOUND);
  seen[1] = GetLastError();
  return 0;
}

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seen[2] = {99, 99};
  UniqueHandle thread(CreateThread(nullptr, 0, SetAndReportLastError, seen, 0, nullptr));
  WaitForSingleObject(thread.get(), INFINITE);
  EXPECT_EQ(seen[0], ERROR_SUCCESS);
  EXPECT_EQ(seen[1], ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

}  // namespace
