// Waitable kernel objects: the part of an event or a thread that WaitForSingleObject and
// WaitForMultipleObjects see.
//
// All waitable state changes and every wait's check happen under one process-wide lock, so a
// wait on several objects sees them all at one instant (that is what waitAll needs). A waiting
// thread blocks on its own condition variable and registers it with each object it waits on;
// an object that becomes signalled wakes exactly those waiters. Nothing polls.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "kernel/kernel_object.h"

namespace pda {

class Waitable;

// Guards the state of every waitable object and every waiter.
std::mutex& WaitLock();

// One blocked wait. Lives on the waiting thread's stack while it is registered.
struct Waiter {
  std::condition_variable wake;
  // Objects pulsed while this waiter was registered: signalled for this waiter only.
  std::vector<const Waitable*> pulsed;
};

class Waitable : public KernelObject {
 public:
  // Both are called with WaitLock() held.
  virtual bool IsSignalled() const = 0;
  // A wait was satisfied by this object's signal (an auto-reset event resets here).
  virtual void Consume() {}

  void AddWaiter(Waiter* waiter) { waiters_.push_back(waiter); }
  void RemoveWaiter(Waiter* waiter);

 protected:
  // With WaitLock() held: lets every registered waiter look again.
  void WakeWaiters();
  // With WaitLock() held: counts as signalled for the waiters registered now (all of them, or
  // only the first), without changing the object's own state.
  void PulseWaiters(bool all);

 private:
  std::vector<Waiter*> waiters_;
};

}  // namespace pda
