// Time: local and system time, the file-time form, the tick count; with test overrides.
#include <ctime>
#include <mutex>

#include "pda/kernel.h"
#include "pda/testing/kernel.h"

namespace {

using WallClock = std::chrono::system_clock;

struct ClockOverrides {
  std::mutex mutex;
  std::optional<WallClock::time_point> wall;
  std::optional<DWORD> ticks;
};

ClockOverrides& Overrides() {
  static ClockOverrides* const overrides = new ClockOverrides;  // never destroyed
  return *overrides;
}

WallClock::time_point Now() {
  ClockOverrides& o = Overrides();
  std::lock_guard lock(o.mutex);
  return o.wall ? *o.wall : WallClock::now();
}

// Seconds since 1970 (floored) and the milliseconds within that second.
void Split(WallClock::time_point now, std::time_t* seconds, WORD* milliseconds) {
  const auto ms = std::chrono::floor<std::chrono::milliseconds>(now.time_since_epoch()).count();
  const auto s = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
  *seconds = static_cast<std::time_t>(s);
  *milliseconds = static_cast<WORD>(ms - s * 1000);
}

void Fill(const std::tm& tm, WORD milliseconds, SYSTEMTIME* time) {
  time->wYear = static_cast<WORD>(tm.tm_year + 1900);
  time->wMonth = static_cast<WORD>(tm.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
  time->wDay = static_cast<WORD>(tm.tm_mday);
  time->wHour = static_cast<WORD>(tm.tm_hour);
  time->wMinute = static_cast<WORD>(tm.tm_min);
  time->wSecond = static_cast<WORD>(tm.tm_sec);
  time->wMilliseconds = milliseconds;
}

}  // namespace

namespace pda {

void SetWallClockForTesting(std::optional<WallClock::time_point> now) {
  ClockOverrides& o = Overrides();
  std::lock_guard lock(o.mutex);
  o.wall = now;
}

void SetTickCountForTesting(std::optional<DWORD> ticks) {
  ClockOverrides& o = Overrides();
  std::lock_guard lock(o.mutex);
  o.ticks = ticks;
}

}  // namespace pda

void GetLocalTime(SYSTEMTIME* time) {
  std::time_t seconds;
  WORD milliseconds;
  Split(Now(), &seconds, &milliseconds);
  std::tm tm{};
  localtime_r(&seconds, &tm);  // the host's time zone, as TZ and /etc/localtime say
  Fill(tm, milliseconds, time);
}

void GetSystemTime(SYSTEMTIME* time) {
  std::time_t seconds;
  WORD milliseconds;
  Split(Now(), &seconds, &milliseconds);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  Fill(tm, milliseconds, time);
}

void GetSystemTimeAsFileTime(FILETIME* time) {
  // 100-ns ticks between 1601-01-01 and 1970-01-01.
  constexpr std::int64_t kEpochDifference = 116444736000000000;
  const auto ticks = std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>>(
                         Now().time_since_epoch())
                         .count() +
                     kEpochDifference;
  const auto value = static_cast<std::uint64_t>(ticks);
  time->dwLowDateTime = static_cast<DWORD>(value);
  time->dwHighDateTime = static_cast<DWORD>(value >> 32);
}

DWORD GetTickCount() {
  {
    ClockOverrides& o = Overrides();
    std::lock_guard lock(o.mutex);
    if (o.ticks) return *o.ticks;
  }
  // The monotonic clock counts from boot, like the device's tick count; it wraps at 2^32 ms.
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  return static_cast<DWORD>(static_cast<std::uint64_t>(ms));
}
