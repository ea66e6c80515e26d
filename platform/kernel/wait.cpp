// WaitForSingleObject and WaitForMultipleObjects.
#include <algorithm>
#include <chrono>
#include <optional>

#include "kernel/waitable.h"
#include "pda/kernel.h"

namespace pda {

std::mutex& WaitLock() {
  static std::mutex* const lock = new std::mutex;  // never destroyed: see KernelHandles()
  return *lock;
}

void Waitable::RemoveWaiter(Waiter* waiter) { std::erase(waiters_, waiter); }

void Waitable::WakeWaiters() {
  for (Waiter* waiter : waiters_) waiter->wake.notify_one();
}

void Waitable::PulseWaiters(bool all) {
  for (Waiter* waiter : waiters_) {
    waiter->pulsed.push_back(this);
    waiter->wake.notify_one();
    if (!all) break;
  }
}

namespace {

// Looks up a handle as whichever waitable kind it names.
std::shared_ptr<Waitable> LookupWaitable(HANDLE handle) {
  const HandleKind kind = KernelHandleTable::KindOf(handle.value);
  if (kind != HandleKind::Event && kind != HandleKind::Thread && kind != HandleKind::GpsDevice)
    return nullptr;
  return KernelHandles().LookupAs<Waitable>(handle.value, kind);
}

class WaitSet {
 public:
  WaitSet(std::vector<std::shared_ptr<Waitable>> objects, bool waitAll)
      : objects_(std::move(objects)), waitAll_(waitAll) {}

  // With WaitLock() held: the index that satisfies the wait, consuming the signals it takes.
  std::optional<DWORD> TrySatisfy(const Waiter& waiter) {
    auto signalled = [&](const Waitable* object) {
      return object->IsSignalled() ||
             std::find(waiter.pulsed.begin(), waiter.pulsed.end(), object) != waiter.pulsed.end();
    };
    if (!waitAll_) {
      for (std::size_t i = 0; i < objects_.size(); ++i) {
        if (signalled(objects_[i].get())) {
          Take(waiter, objects_[i].get());
          return static_cast<DWORD>(i);
        }
      }
      return std::nullopt;
    }
    for (const auto& object : objects_)
      if (!signalled(object.get())) return std::nullopt;
    for (const auto& object : objects_) Take(waiter, object.get());
    return 0;
  }

  void Register(Waiter* waiter) {
    for (const auto& object : objects_) object->AddWaiter(waiter);
  }
  void Unregister(Waiter* waiter) {
    for (const auto& object : objects_) object->RemoveWaiter(waiter);
  }

 private:
  static void Take(const Waiter& waiter, Waitable* object) {
    // A pulse releases without touching the object's state.
    if (std::find(waiter.pulsed.begin(), waiter.pulsed.end(), object) == waiter.pulsed.end())
      object->Consume();
  }

  std::vector<std::shared_ptr<Waitable>> objects_;
  bool waitAll_;
};

DWORD Wait(WaitSet& set, DWORD milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  std::unique_lock lock(WaitLock());
  Waiter waiter;
  if (auto index = set.TrySatisfy(waiter)) return WAIT_OBJECT_0 + *index;
  if (milliseconds == 0) return WAIT_TIMEOUT;

  set.Register(&waiter);
  std::optional<DWORD> index;
  for (;;) {
    if (milliseconds == INFINITE) {
      waiter.wake.wait(lock);
    } else if (waiter.wake.wait_until(lock, deadline) == std::cv_status::timeout) {
      index = set.TrySatisfy(waiter);
      break;
    }
    if ((index = set.TrySatisfy(waiter))) break;
  }
  set.Unregister(&waiter);
  return index ? WAIT_OBJECT_0 + *index : WAIT_TIMEOUT;
}

}  // namespace
}  // namespace pda

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                             DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<pda::Waitable>> objects;
  objects.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    auto object = pda::LookupWaitable(handles[i]);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    // Waiting for all of a set that names one object twice is refused, as on the device.
    if (waitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  pda::WaitSet set(std::move(objects), waitAll != FALSE);
  return pda::Wait(set, milliseconds);
}
