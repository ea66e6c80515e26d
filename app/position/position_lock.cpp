// The Position lock: initialised by a static constructor, deleted by an at-exit routine.
#include "position/position_lock.h"

#include <cstdlib>
#include <cstring>

CRITICAL_SECTION g_csPosition;

namespace {

void DeletePositionLock() { DeleteCriticalSection(&g_csPosition); }

struct PositionLockInit {
  PositionLockInit() {
    std::memset(&g_csPosition, 0, sizeof g_csPosition);
    InitializeCriticalSection(&g_csPosition);
    std::atexit(DeletePositionLock);
  }
};

const PositionLockInit s_positionLockInit;

}  // namespace
