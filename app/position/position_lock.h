// The Position lock: the program's one critical section. It guards the Position snapshot and the
// Main window's copies of it. Initialised before the entry point runs, deleted at exit.
#pragma once

#include <pda.h>

extern CRITICAL_SECTION g_csPosition;

// Holds the Position lock for its scope.
class PositionLockGuard {
 public:
  PositionLockGuard() { EnterCriticalSection(&g_csPosition); }
  ~PositionLockGuard() { LeaveCriticalSection(&g_csPosition); }
  PositionLockGuard(const PositionLockGuard&) = delete;
  PositionLockGuard& operator=(const PositionLockGuard&) = delete;
};
