// Critical sections: a std::recursive_mutex built in the record's opaque storage, so the
// record keeps its fixed size and callers need no allocation.
#include <mutex>
#include <new>

#include "pda/kernel.h"

namespace {

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::opaque),
              "the mutex must fit in the critical-section record");
static_assert(alignof(std::recursive_mutex) <= alignof(CRITICAL_SECTION),
              "the record must be aligned for the mutex");

std::recursive_mutex& MutexOf(LPCRITICAL_SECTION section) {
  return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->opaque));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  ::new (static_cast<void*>(section->opaque)) std::recursive_mutex;
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  using Mutex = std::recursive_mutex;
  MutexOf(section).~Mutex();
}

void EnterCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).lock(); }

void LeaveCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).unlock(); }

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return MutexOf(section).try_lock() ? TRUE : FALSE;
}
