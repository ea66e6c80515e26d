// SetTimer and KillTimer: timers live in the queue of the thread that owns their window.
#include "user/message_queue.h"
#include "user/tick_clock.h"
#include "user/window.h"

using namespace pda::user;

namespace {

std::shared_ptr<MessageQueue> QueueFor(HWND window) {
  if (!window) return CurrentQueue();
  auto w = FindAny(window);
  if (!w || w->remote) return nullptr;
  return w->queue;
}

}  // namespace

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC timerProc) {
  auto queue = QueueFor(window);
  if (!queue) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!window && (id == 0 || !queue->KillTimer(HWND{}, id))) id = queue->NewThreadTimerId();
  const UINT interval = milliseconds < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : milliseconds;
  queue->SetTimer(Timer{window, id, interval, TickNow() + interval, timerProc});
  // A window timer may use id 0; success is still reported as non-zero.
  return window && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto queue = QueueFor(window);
  if (!queue || !queue->KillTimer(window, id)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
