// Events: CreateEventW, SetEvent, ResetEvent, PulseEvent.
//
// An auto-reset event is one flag: any number of SetEvent calls before a wait collapse into a
// single wake-up, and the wait that takes the signal resets it. A manual-reset event stays
// signalled until ResetEvent.
#include "kernel/waitable.h"
#include "pda/kernel.h"

namespace pda {
namespace {

class Event final : public Waitable {
 public:
  Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

  bool IsSignalled() const override { return signalled_; }
  void Consume() override {
    if (!manualReset_) signalled_ = false;
  }

  void Set() {
    std::lock_guard lock(WaitLock());
    signalled_ = true;
    WakeWaiters();
  }
  void Reset() {
    std::lock_guard lock(WaitLock());
    signalled_ = false;
  }
  // Releases the threads waiting now (a manual-reset event) or one of them (auto-reset), and
  // leaves the event reset.
  void Pulse() {
    std::lock_guard lock(WaitLock());
    signalled_ = false;
    PulseWaiters(manualReset_);
  }

 private:
  const bool manualReset_;
  bool signalled_;
};

std::shared_ptr<Event> LookupEvent(HANDLE handle) {
  return LookupKernelObject<Event>(handle, HandleKind::Event);
}

}  // namespace
}  // namespace pda

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  if (name != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  return pda::InsertKernelObject(
      std::make_shared<pda::Event>(manualReset != FALSE, initialState != FALSE),
      pda::HandleKind::Event);
}

BOOL SetEvent(HANDLE event) {
  auto object = pda::LookupEvent(event);
  if (!object) return FALSE;
  object->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto object = pda::LookupEvent(event);
  if (!object) return FALSE;
  object->Reset();
  return TRUE;
}

BOOL PulseEvent(HANDLE event) {
  auto object = pda::LookupEvent(event);
  if (!object) return FALSE;
  object->Pulse();
  return TRUE;
}
