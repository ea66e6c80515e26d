// SystemIdleTimerReset: counted, and passed on to the screen back end's hook.
#include "kernel/idle.h"

#include <atomic>
#include <cstdint>

#include "pda/kernel.h"
#include "pda/testing/kernel.h"

namespace {
std::atomic<std::uint64_t> g_resets{0};
std::atomic<pda::IdleResetHook> g_hook{nullptr};
}  // namespace

namespace pda {
void SetIdleResetHook(IdleResetHook hook) { g_hook.store(hook); }
std::uint64_t IdleTimerResetCount() { return g_resets.load(); }
}  // namespace pda

void SystemIdleTimerReset() {
  g_resets.fetch_add(1);
  if (pda::IdleResetHook hook = g_hook.load()) hook();
}
