// The manual test clock over the kernel's tick-count override.
#include <atomic>

#include "pda/testing/kernel.h"
#include "pda/testing/user.h"
#include "user/message_queue.h"
#include "user/tick_clock.h"

namespace pda::user {
namespace {
std::atomic<bool> manual{false};
std::atomic<DWORD> manualNow{0};
}  // namespace

bool ManualClock() { return manual.load(); }

}  // namespace pda::user

namespace pda::testing {

void UseManualClock(DWORD start) {
  user::manualNow = start;
  SetTickCountForTesting(start);
  user::manual = true;
  user::WakeAllQueues();
}

void AdvanceClock(DWORD milliseconds) {
  const DWORD now = user::manualNow += milliseconds;
  SetTickCountForTesting(now);
  user::WakeAllQueues();
}

void UseRealClock() {
  user::manual = false;
  SetTickCountForTesting(std::nullopt);
  user::WakeAllQueues();
}

}  // namespace pda::testing
