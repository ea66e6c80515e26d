// The clock that timers run on: the kernel's tick count. Tests switch it to a manual clock that
// only moves when they advance it (pda/testing/user.h); then a queue sleeps until woken instead
// of until the next due timer.
#pragma once

#include "pda/kernel.h"

namespace pda::user {

inline DWORD TickNow() { return GetTickCount(); }
// Ticks until `due` (0 when due already), with the tick count's wrap-around.
inline DWORD TicksUntil(DWORD due, DWORD now) {
  const auto left = static_cast<std::int32_t>(due - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}
bool ManualClock();

}  // namespace pda::user
