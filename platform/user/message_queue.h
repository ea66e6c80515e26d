// The message queue of one thread: posted messages, messages sent to it by other threads, the
// quit request and the thread's timers, with one condition variable that wakes the owner.
//
// Lock order: the tree lock (window.h) may be held when a queue's lock is taken, never the
// other way round.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "pda/user.h"

namespace pda::user {

class MessageQueue;

// A message sent from another thread; the sender waits until `done`.
struct SentMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;  // guarded by the sender's queue lock
  std::shared_ptr<MessageQueue> sender;
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT interval;
  DWORD due;  // tick count
  TIMERPROC procedure;
};

// Which messages a retrieval accepts: a set of windows (empty: any) and a message range
// (0, 0: any).
struct MessageFilter {
  std::vector<HWND> windows;
  UINT min = 0;
  UINT max = 0;
  bool AcceptsMessage(UINT message) const {
    return (min == 0 && max == 0) || (message >= min && message <= max);
  }
  bool AcceptsWindow(HWND window) const;
};

class MessageQueue {
 public:
  explicit MessageQueue(DWORD threadId) : threadId_(threadId) {}
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  DWORD ThreadId() const { return threadId_; }

  // From any thread. False once the owning thread has ended.
  bool Post(const MSG& message);
  bool Deliver(std::shared_ptr<SentMessage> message);
  // Something the owner should look at again has changed (update region, clock).
  void Wake();

  // Owner thread only.
  void PostQuit(int exitCode);
  std::shared_ptr<SentMessage> TakeSent();
  std::optional<MSG> TakePosted(const MessageFilter& filter, bool remove);
  std::optional<MSG> TakeQuit(bool remove);
  std::optional<MSG> TakeDueTimer(const MessageFilter& filter, DWORD now, bool remove);
  // Sleeps until the queue changes after `seen` (see Changes) or the next timer is due.
  void WaitForChange(std::uint64_t seen);
  std::uint64_t Changes();
  // Any thread: waits until the owner is blocked in WaitForChange with nothing new since it
  // looked (no sent, posted, paint or due-timer work left), or the queue is closed. False when
  // the limit passed first. For test harnesses (pump until idle).
  bool WaitUntilIdle(std::chrono::milliseconds limit);
  // Waits for a message sent by this thread to be handled, answering messages sent to this
  // thread meanwhile through `answer`.
  LRESULT AwaitReply(const std::shared_ptr<SentMessage>& message,
                     const std::function<void(SentMessage&)>& answer);
  // The sender's side of a reply.
  void Complete(SentMessage& message, LRESULT result);
  // The thread has ended: refuse new messages and release every waiting sender.
  void Close();

  // Timers (any thread).
  void SetTimer(const Timer& timer);
  bool KillTimer(HWND window, UINT_PTR id);
  void KillTimersOf(const std::vector<HWND>& windows);
  bool HasTimer(HWND window, UINT_PTR id, TIMERPROC procedure);
  UINT_PTR NewThreadTimerId();

 private:
  void ChangedLocked() {
    ++changes_;
    wake_.notify_all();
  }

  const DWORD threadId_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::uint64_t changes_ = 0;
  std::optional<std::uint64_t> waitingSince_;  // the owner is blocked, having seen this count
  std::condition_variable idle_;
  bool closed_ = false;
  std::deque<MSG> posted_;
  std::deque<std::shared_ptr<SentMessage>> sent_;
  std::optional<int> quit_;
  std::vector<Timer> timers_;
  UINT_PTR nextThreadTimer_ = 1;
};

// The calling thread's queue, made on first use.
std::shared_ptr<MessageQueue> CurrentQueue();
std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId);
// Every live queue re-examines its timers (the test clock moved).
void WakeAllQueues();

}  // namespace pda::user
