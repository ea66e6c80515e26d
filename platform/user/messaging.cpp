// Posting, sending, retrieving and dispatching messages.
#include <unistd.h>

#include <map>
#include <mutex>

#include "pda/testing/user.h"
#include "user/messaging.h"
#include "user/tick_clock.h"
#include "user/window.h"

namespace pda::user {
namespace {

void Answer(SentMessage& message) {
  const LRESULT result = CallProcedure(message.window, message.message, message.wParam,
                                       message.lParam);
  message.sender->Complete(message, result);
}

enum class Retrieved { Message, Quit, Nothing, BadWindow };

Retrieved Retrieve(MSG* out, HWND window, UINT min, UINT max, bool remove, bool wait) {
  auto queue = CurrentQueue();
  MessageFilter filter;
  filter.min = min;
  filter.max = max;
  if (window) {
    auto lock = TreeLock();
    if (!FindLocked(window)) return Retrieved::BadWindow;
    CollectTreeLocked(window, filter.windows);
  }
  for (;;) {
    const auto seen = queue->Changes();
    while (auto sent = queue->TakeSent()) Answer(*sent);
    if (auto message = queue->TakePosted(filter, remove)) {
      if (remove) NoteKeyMessage(*message);
      *out = *message;
      // A posted WM_QUIT (PostThreadMessageW) ends a message loop like PostQuitMessage.
      return message->message == WM_QUIT ? Retrieved::Quit : Retrieved::Message;
    }
    if (auto quit = queue->TakeQuit(remove)) {
      quit->time = TickNow();
      *out = *quit;
      return Retrieved::Quit;
    }
    if (filter.AcceptsMessage(WM_PAINT)) {
      if (HWND paint = FindWindowToPaint(*queue, filter)) {
        *out = MSG{paint, WM_PAINT, 0, 0, TickNow(), POINT{0, 0}};
        return Retrieved::Message;
      }
    }
    if (auto timer = queue->TakeDueTimer(filter, TickNow(), remove)) {
      *out = *timer;
      return Retrieved::Message;
    }
    if (!wait) return Retrieved::Nothing;
    queue->WaitForChange(seen);
  }
}

// Tasks waiting for their thread, by the number their notice carries: a forged notice finds
// nothing to run.
struct PendingCalls {
  std::mutex mutex;
  std::map<WPARAM, std::function<void()>> tasks;
  WPARAM next = 1;
};
PendingCalls& Calls() {
  static PendingCalls* const calls = new PendingCalls;
  return *calls;
}

void RunCall(WPARAM id) {
  std::function<void()> task;
  {
    PendingCalls& c = Calls();
    std::lock_guard lock(c.mutex);
    auto it = c.tasks.find(id);
    if (it == c.tasks.end()) return;
    task = std::move(it->second);
    c.tasks.erase(it);
  }
  task();
}

}  // namespace

bool CallOnThread(DWORD threadId, std::function<void()> task) {
  auto queue = QueueOfThread(threadId);
  if (!queue) return false;
  PendingCalls& c = Calls();
  WPARAM id;
  {
    std::lock_guard lock(c.mutex);
    id = c.next++;
    c.tasks.emplace(id, std::move(task));
  }
  if (queue->Post(MSG{HWND{}, WM_PDA_CALL, id, 0, TickNow(), POINT{0, 0}})) return true;
  std::lock_guard lock(c.mutex);
  c.tasks.erase(id);
  return false;
}

}  // namespace pda::user

using namespace pda::user;

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return PostThreadMessageW(GetCurrentThreadId(), message, wParam, lParam);
  auto target = FindAny(window);
  if (!target || target->remote) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // The queue of a window is fixed at its creation, so it is read without the tree lock.
  return target->queue->Post(MSG{window, message, wParam, lParam, TickNow(), POINT{0, 0}});
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  auto queue = threadId == GetCurrentThreadId() ? CurrentQueue() : QueueOfThread(threadId);
  if (!queue || !queue->Post(MSG{HWND{}, message, wParam, lParam, TickNow(), POINT{0, 0}})) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto target = FindAny(window);
  if (!target || target->remote) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (target->queue->ThreadId() == GetCurrentThreadId())
    return CallProcedure(window, message, wParam, lParam);
  auto self = CurrentQueue();
  auto sent = std::make_shared<SentMessage>(SentMessage{window, message, wParam, lParam, 0,
                                                        false, self});
  if (!target->queue->Deliver(sent)) return 0;  // the window's thread has ended
  return self->AwaitReply(sent, Answer);
}

BOOL GetMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
  if (!message) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  switch (Retrieve(message, window, filterMin, filterMax, true, true)) {
    case Retrieved::BadWindow:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return -1;
    case Retrieved::Quit:
      return FALSE;
    default:
      return TRUE;
  }
}

BOOL PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!message) return FALSE;
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  switch (Retrieve(message, window, filterMin, filterMax, remove, false)) {
    case Retrieved::Message:
    case Retrieved::Quit:
      return TRUE;
    case Retrieved::BadWindow:
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL WaitMessage() {
  auto queue = CurrentQueue();
  const auto seen = queue->Changes();
  MSG waiting;
  if (PeekMessageW(&waiting, HWND{}, 0, 0, PM_NOREMOVE)) return TRUE;
  queue->WaitForChange(seen);
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* message) {
  if (!message) return 0;
  if (message->message == WM_TIMER && message->lParam != 0) {
    auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
    std::shared_ptr<MessageQueue> queue;
    if (message->hwnd) {
      if (auto w = FindAny(message->hwnd)) queue = w->queue;
    } else {
      queue = CurrentQueue();
    }
    // Only a routine of a live timer is called: a forged WM_TIMER cannot jump anywhere.
    if (queue && queue->HasTimer(message->hwnd, message->wParam, procedure))
      procedure(message->hwnd, WM_TIMER, message->wParam, TickNow());
    return 0;
  }
  if (message->message == WM_PDA_ACTIVATE) {
    SetForegroundWindow(message->hwnd);
    return 0;
  }
  if (message->message == WM_PDA_CALL && !message->hwnd) {
    RunCall(message->wParam);
    return 0;
  }
  if (!message->hwnd) return 0;
  return CallProcedure(message->hwnd, message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode) { CurrentQueue()->PostQuit(exitCode); }

namespace pda::testing {
bool CallOnThread(DWORD threadId, std::function<void()> task) {
  return user::CallOnThread(threadId, std::move(task));
}
}  // namespace pda::testing
