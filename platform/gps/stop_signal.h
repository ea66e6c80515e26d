// The driver thread's stop request: an eventfd that a source waits on beside its input, so a
// close wakes the thread at once wherever it blocks (no polling loops, no time-outs to notice it).
#pragma once

#include <chrono>

#include "kernel/unique_fd.h"

namespace pda::gps {

class StopSignal {
 public:
  StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  bool valid() const { return static_cast<bool>(fd_); }
  void Raise();
  bool Raised() const;

  // What ended a wait.
  enum class Wake { Stop, Ready, Timeout, Error };
  // Blocks until fd is readable (or, with writable, writable), the stop is raised, or the
  // time-out passes (negative: none). fd < 0 waits on the stop alone (a stop-aware sleep).
  Wake Wait(int fd, std::chrono::milliseconds timeout, bool writable = false) const;
  Wake Sleep(std::chrono::milliseconds duration) const { return Wait(-1, duration); }

 private:
  UniqueFd fd_;
};

}  // namespace pda::gps
