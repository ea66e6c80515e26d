// The ending signals (SIGTERM, SIGINT, SIGHUP: a logout, Ctrl+C, kill) as a user's close: the
// first asks the application's windows to close, so shutdown runs and the settings are saved; a
// second one during that shutdown ends the process at once. No work is done in a handler: the
// signals are blocked and read from a signalfd by a thread of their own.
#pragma once

#include <thread>

#include "kernel/unique_fd.h"

namespace pda::entry {

class EndingSignals {
 public:
  // Blocks the signals in the calling thread, and so in every thread it starts afterwards: make
  // it first in main.
  EndingSignals();
  ~EndingSignals();
  EndingSignals(const EndingSignals&) = delete;
  EndingSignals& operator=(const EndingSignals&) = delete;

 private:
  void Watch();

  UniqueFd signals_;
  UniqueFd stop_;
  std::thread watcher_;
};

}  // namespace pda::entry
