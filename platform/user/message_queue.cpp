// The per-thread message queue and the registry of queues by thread id.
#include "user/message_queue.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "user/tick_clock.h"

namespace pda::user {
namespace {

struct QueueRegistry {
  std::mutex mutex;
  std::map<DWORD, std::weak_ptr<MessageQueue>> byThread;
};
QueueRegistry& Registry() {
  static QueueRegistry* const registry = new QueueRegistry;  // outlives thread-exit cleanup
  return *registry;
}

// Owns the thread's queue; closes it when the thread ends.
struct QueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    {
      QueueRegistry& r = Registry();
      std::lock_guard lock(r.mutex);
      r.byThread.erase(queue->ThreadId());
    }
    queue->Close();
  }
};

}  // namespace

bool MessageFilter::AcceptsWindow(HWND window) const {
  return windows.empty() || std::find(windows.begin(), windows.end(), window) != windows.end();
}

std::shared_ptr<MessageQueue> CurrentQueue() {
  thread_local QueueHolder holder;
  if (!holder.queue) {
    holder.queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
    QueueRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    r.byThread[holder.queue->ThreadId()] = holder.queue;
  }
  return holder.queue;
}

std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId) {
  QueueRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  auto it = r.byThread.find(threadId);
  return it == r.byThread.end() ? nullptr : it->second.lock();
}

void WakeAllQueues() {
  std::vector<std::shared_ptr<MessageQueue>> queues;
  {
    QueueRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    for (auto& [id, weak] : r.byThread)
      if (auto q = weak.lock()) queues.push_back(std::move(q));
  }
  for (auto& q : queues) q->Wake();
}

bool MessageQueue::Post(const MSG& message) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  posted_.push_back(message);
  ChangedLocked();
  return true;
}

bool MessageQueue::Deliver(std::shared_ptr<SentMessage> message) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  sent_.push_back(std::move(message));
  ChangedLocked();
  return true;
}

void MessageQueue::Wake() {
  std::lock_guard lock(mutex_);
  ChangedLocked();
}

void MessageQueue::PostQuit(int exitCode) {
  std::lock_guard lock(mutex_);
  quit_ = exitCode;
  ChangedLocked();
}

std::shared_ptr<SentMessage> MessageQueue::TakeSent() {
  std::lock_guard lock(mutex_);
  if (sent_.empty()) return nullptr;
  auto message = std::move(sent_.front());
  sent_.pop_front();
  return message;
}

std::optional<MSG> MessageQueue::TakePosted(const MessageFilter& filter, bool remove) {
  std::lock_guard lock(mutex_);
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if (!filter.AcceptsMessage(it->message) || !filter.AcceptsWindow(it->hwnd)) continue;
    MSG message = *it;
    if (remove) posted_.erase(it);
    return message;
  }
  return std::nullopt;
}

std::optional<MSG> MessageQueue::TakeQuit(bool remove) {
  std::lock_guard lock(mutex_);
  if (!quit_) return std::nullopt;
  MSG message{};
  message.message = WM_QUIT;
  message.wParam = static_cast<WPARAM>(*quit_);
  if (remove) quit_.reset();
  return message;
}

std::optional<MSG> MessageQueue::TakeDueTimer(const MessageFilter& filter, DWORD now,
                                              bool remove) {
  if (!filter.AcceptsMessage(WM_TIMER)) return std::nullopt;
  std::lock_guard lock(mutex_);
  for (Timer& timer : timers_) {
    if (TicksUntil(timer.due, now) > 0 || !filter.AcceptsWindow(timer.window)) continue;
    MSG message{};
    message.hwnd = timer.window;
    message.message = WM_TIMER;
    message.wParam = timer.id;
    message.lParam = reinterpret_cast<LPARAM>(timer.procedure);
    message.time = now;
    // A timer that fell behind fires once, not once per missed interval.
    if (remove) timer.due = now + timer.interval;
    return message;
  }
  return std::nullopt;
}

std::uint64_t MessageQueue::Changes() {
  std::lock_guard lock(mutex_);
  return changes_;
}

void MessageQueue::WaitForChange(std::uint64_t seen) {
  std::unique_lock lock(mutex_);
  if (changes_ != seen || !sent_.empty()) return;
  std::optional<DWORD> wait;
  if (!ManualClock()) {
    const DWORD now = TickNow();
    for (const Timer& timer : timers_) {
      const DWORD left = TicksUntil(timer.due, now);
      if (!wait || left < *wait) wait = left;
    }
  }
  auto changed = [&] { return changes_ != seen || !sent_.empty(); };
  waitingSince_ = seen;
  idle_.notify_all();
  if (wait)
    wake_.wait_for(lock, std::chrono::milliseconds(*wait), changed);
  else
    wake_.wait(lock, changed);
  waitingSince_.reset();
}

bool MessageQueue::WaitUntilIdle(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, limit, [&] {
    return closed_ || (waitingSince_ == changes_ && sent_.empty());
  });
}

LRESULT MessageQueue::AwaitReply(const std::shared_ptr<SentMessage>& message,
                                 const std::function<void(SentMessage&)>& answer) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (message->done) return message->result;
    if (!sent_.empty()) {
      auto incoming = std::move(sent_.front());
      sent_.pop_front();
      lock.unlock();
      answer(*incoming);
      lock.lock();
      continue;
    }
    wake_.wait(lock, [&] { return message->done || !sent_.empty(); });
  }
}

void MessageQueue::Complete(SentMessage& message, LRESULT result) {
  std::lock_guard lock(mutex_);
  message.result = result;
  message.done = true;
  ChangedLocked();
}

void MessageQueue::Close() {
  std::deque<std::shared_ptr<SentMessage>> waiting;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    idle_.notify_all();
    waiting.swap(sent_);
    posted_.clear();
    timers_.clear();
  }
  for (auto& message : waiting) message->sender->Complete(*message, 0);
}

void MessageQueue::SetTimer(const Timer& timer) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) {
    return t.window == timer.window && t.id == timer.id;
  });
  if (it != timers_.end())
    *it = timer;
  else
    timers_.push_back(timer);
  ChangedLocked();
}

bool MessageQueue::KillTimer(HWND window, UINT_PTR id) {
  std::lock_guard lock(mutex_);
  const auto removed = std::erase_if(
      timers_, [&](const Timer& t) { return t.window == window && t.id == id; });
  return removed > 0;
}

void MessageQueue::KillTimersOf(const std::vector<HWND>& windows) {
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [&](const Timer& t) {
    return std::find(windows.begin(), windows.end(), t.window) != windows.end();
  });
}

bool MessageQueue::HasTimer(HWND window, UINT_PTR id, TIMERPROC procedure) {
  std::lock_guard lock(mutex_);
  return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) {
    return t.window == window && t.id == id && t.procedure == procedure;
  });
}

UINT_PTR MessageQueue::NewThreadTimerId() {
  std::lock_guard lock(mutex_);
  for (;;) {
    const UINT_PTR id = nextThreadTimer_++;
    if (id == 0) continue;
    const bool used = std::any_of(timers_.begin(), timers_.end(),
                                  [&](const Timer& t) { return !t.window && t.id == id; });
    if (!used) return id;
  }
}

}  // namespace pda::user
