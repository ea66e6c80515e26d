// Moveable memory, time, the module name, debug output and the idle-timer reset.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "kernel/idle.h"
#include "pda/kernel.h"
#include "pda/testing/kernel.h"

namespace {

TEST(LocalMemory, MoveableBlockRoundTrip) {
  const HLOCAL memory = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, 32);
  ASSERT_TRUE(memory);
  EXPECT_EQ(LocalSize(memory), 32u);
  auto* bytes = static_cast<unsigned char*>(LocalLock(memory));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(bytes[i], 0) << i;
  std::memcpy(bytes, "lat,lon", 8);
  EXPECT_FALSE(LocalUnlock(memory));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);  // now unlocked, which is not a failure

  EXPECT_STREQ(static_cast<const char*>(LocalLock(memory)), "lat,lon");
  LocalLock(memory);
  EXPECT_TRUE(LocalUnlock(memory)) << "one lock still held";
  EXPECT_FALSE(LocalUnlock(memory));
  EXPECT_FALSE(LocalUnlock(memory));
  EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);

  EXPECT_EQ(LocalFree(memory), nullptr);
  SetLastError(0);
  EXPECT_EQ(LocalLock(memory), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(LocalFree(memory), memory) << "a second free fails and hands the handle back";
}

TEST(LocalMemory, ZeroSizedBlockIsUsable) {
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_TRUE(memory);
  EXPECT_EQ(LocalSize(memory), 0u);
  EXPECT_NE(GlobalLock(memory), nullptr);
  GlobalUnlock(memory);
  EXPECT_EQ(GlobalFree(memory), nullptr);
}

// Runs the body with TZ set, then puts the host's zone back.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (hadOld_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
    pda::SetWallClockForTesting(std::nullopt);
  }

 private:
  std::string saved_;
  bool hadOld_ = false;
};

TEST(Time, LocalTimeFollowsTheHostTimeZone) {
  TimeZone zone("PST8PDT,M3.2.0,M11.1.0");
  // 2009-07-14 18:05:09.250 UTC, a Tuesday; 11:05:09 in Seattle (daylight time).
  pda::SetWallClockForTesting(std::chrono::system_clock::time_point(std::chrono::milliseconds(1247594709250LL)));
  SYSTEMTIME local{}, utc{};
  GetLocalTime(&local);
  GetSystemTime(&utc);
  EXPECT_EQ(utc.wYear, 2009);
  EXPECT_EQ(utc.wMonth, 7);
  EXPECT_EQ(utc.wDay, 14);
  EXPECT_EQ(utc.wDayOfWeek, 2);
  EXPECT_EQ(utc.wHour, 18);
  EXPECT_EQ(utc.wMinute, 5);
  EXPECT_EQ(utc.wSecond, 9);
  EXPECT_EQ(utc.wMilliseconds, 250);
  EXPECT_EQ(local.wHour, 11);
  EXPECT_EQ(local.wMinute, 5);
  EXPECT_EQ(local.wMilliseconds, 250);

  FILETIME file{};
  GetSystemTimeAsFileTime(&file);
  const std::uint64_t ticks = (std::uint64_t(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  EXPECT_EQ(ticks, 1247594709250ULL * 10000 + 116444736000000000ULL);
}

TEST(Time, HostClockIsUsedWithoutOverride) {
  pda::SetWallClockForTesting(std::nullopt);
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  EXPECT_EQ(utc.wYear, tm.tm_year + 1900);
}

TEST(Time, TickCountMovesForwardAndCanBeFixed) {
  const DWORD before = GetTickCount();
  Sleep(20);
  EXPECT_GE(GetTickCount() - before, 20u);
  pda::SetTickCountForTesting(12345);
  EXPECT_EQ(GetTickCount(), 12345u);
  pda::SetTickCountForTesting(std::nullopt);
  EXPECT_NE(GetTickCount(), 12345u);
}

TEST(Module, FileNameIsTheProgramsDevicePath) {
  char16_t buffer[260];
  const std::u16string expected = u"\\Program Files\\Zazorudu\\Zazorudu.exe";
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 260), expected.size());
  EXPECT_EQ(std::u16string(buffer), expected);
  EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, 260), expected.size());
}

TEST(Module, ShortBufferIsCutAndTerminated) {
  char16_t buffer[8];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 8), 8u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(buffer), u"\\Progra");
  // Exactly the length: still no room for the terminator.
  char16_t exact[36];
  EXPECT_EQ(GetModuleFileNameW(nullptr, exact, 36), 36u);
  EXPECT_EQ(lstrlenW(exact), 35);
}

TEST(Module, HandleLookup) {
  EXPECT_TRUE(GetModuleHandleW(nullptr));
  EXPECT_EQ(GetModuleHandleW(u"zazorudu.EXE"), GetModuleHandleW(nullptr));
  SetLastError(0);
  EXPECT_FALSE(GetModuleHandleW(u"other.dll"));
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(DebugOutput, GoesToStandardErrorAsUtf8) {
  testing::internal::CaptureStderr();
  OutputDebugStringW(u"fix 47\u00B0N\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "fix 47\xC2\xB0N\n");
}

TEST(DebugOutput, SinkTakesTheTextInstead) {
  std::u16string seen;
  pda::SetDebugOutputSinkForTesting([&seen](std::u16string_view text) { seen += text; });
  testing::internal::CaptureStderr();
  OutputDebugStringW(u"one ");
  OutputDebugStringW(u"two");
  pda::SetDebugOutputSinkForTesting(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(seen, u"one two");
}

int g_hookCalls = 0;

TEST(Idle, ResetsAreCountedAndPassedToTheHook) {
  const std::uint64_t before = pda::IdleTimerResetCount();
  pda::SetIdleResetHook([] { ++g_hookCalls; });
  SystemIdleTimerReset();
  SystemIdleTimerReset();
  pda::SetIdleResetHook(nullptr);
  SystemIdleTimerReset();
  EXPECT_EQ(pda::IdleTimerResetCount() - before, 3u);
  EXPECT_EQ(g_hookCalls, 2);
}

}  // namespace
