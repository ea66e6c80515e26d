// Test hooks of the kernel and storage: a wall clock and tick count the test sets, a sink for
// debug output, the idle-timer reset count, and a private device root.
//
// For tests and test harnesses only; the application never includes this header. Unlike the
// rest of the platform's surface this is C++ (std types), in namespace pda.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "pda/kernel.h"

namespace pda {

// ---- clock ---------------------------------------------------------------------------------
// Fixes the instant GetLocalTime, GetSystemTime and GetSystemTimeAsFileTime report; nullopt
// returns to the host clock. GetLocalTime still converts through the host's time zone (TZ).
void SetWallClockForTesting(std::optional<std::chrono::system_clock::time_point> now);
// Fixes what GetTickCount returns; nullopt returns to the host's monotonic clock.
void SetTickCountForTesting(std::optional<DWORD> ticks);

// ---- debug output --------------------------------------------------------------------------
// While a sink is set, OutputDebugStringW hands it the text instead of writing standard error.
// An empty function restores standard error.
using DebugOutputSink = std::function<void(std::u16string_view text)>;
void SetDebugOutputSinkForTesting(DebugOutputSink sink);

// ---- idle ----------------------------------------------------------------------------------
// How many times SystemIdleTimerReset has been called in this process.
std::uint64_t IdleTimerResetCount();

// ---- storage (implemented by pda_storage) --------------------------------------------------
// Uses hostFolder (created if missing) as the device root from now on, in place of PDA_ROOT
// and its defaults; an empty string returns to them.
void SetDeviceRootForTesting(const std::string& hostFolder);
// The host path a device path maps to, or "" when the path is refused (last error says why).
std::string HostPathOf(LPCWSTR devicePath);

}  // namespace pda
