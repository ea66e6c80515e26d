// Threads: CreateThread, thread ids, exit codes, Sleep.
//
// A created thread runs on a detached std::thread that holds its own reference to the thread
// object, so closing the handle does not end or disturb it. Every thread, also the main thread
// and threads started by libraries, gets an id the first time it asks for one.
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>

#include "kernel/waitable.h"
#include "pda/kernel.h"

namespace pda {
namespace {

std::atomic<DWORD> g_nextThreadId{0x100};
thread_local DWORD t_threadId = 0;

DWORD NewThreadId() { return g_nextThreadId.fetch_add(1, std::memory_order_relaxed); }

class Thread final : public Waitable {
 public:
  explicit Thread(DWORD id) : id_(id) {}

  DWORD id() const { return id_; }

  bool IsSignalled() const override { return ended_; }

  void Finish(DWORD exitCode) {
    std::lock_guard lock(WaitLock());
    exitCode_ = exitCode;
    ended_ = true;
    WakeWaiters();
  }

  DWORD ExitCode() const {
    std::lock_guard lock(WaitLock());
    return ended_ ? exitCode_ : STILL_ACTIVE;
  }

 private:
  const DWORD id_;
  bool ended_ = false;
  DWORD exitCode_ = STILL_ACTIVE;
};

}  // namespace
}  // namespace pda

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId) {
  if (start == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (creationFlags & CREATE_SUSPENDED) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto thread = std::make_shared<pda::Thread>(pda::NewThreadId());
  const HANDLE handle = pda::InsertKernelObject(thread, pda::HandleKind::Thread);
  if (!handle) return nullptr;
  try {
    std::thread([thread, start, parameter] {
      pthread_setname_np(pthread_self(), "pda-thread");  // as ps and top show it
      pda::t_threadId = thread->id();
      thread->Finish(start(parameter));
    }).detach();
  } catch (const std::system_error&) {
    pda::KernelHandles().Remove(handle.value, pda::HandleKind::Thread);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (threadId) *threadId = thread->id();
  return handle;
}

DWORD GetCurrentThreadId() {
  if (pda::t_threadId == 0) pda::t_threadId = pda::NewThreadId();
  return pda::t_threadId;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  auto object = pda::LookupKernelObject<pda::Thread>(thread, pda::HandleKind::Thread);
  if (!object) return FALSE;
  if (exitCode == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *exitCode = object->ExitCode();
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
