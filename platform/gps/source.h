// A source of GPS data for the driver: gpsd, an NMEA log or serial device, the demo track. Each
// runs on one driver thread, blocked on its input and the stop signal, and writes what it reads
// into the DriverState.
#pragma once

#include <pthread.h>

#include <memory>
#include <thread>

#include "driver_state.h"
#include "stop_signal.h"

namespace pda::gps {

class Source {
 public:
  virtual ~Source() = default;
  // Runs until stop is raised; must return promptly once it is.
  virtual void Run(DriverState& state, const StopSignal& stop) = 0;
};

// Runs a source on its own thread; stopping wakes the thread and joins it.
class SourceThread {
 public:
  SourceThread(std::unique_ptr<Source> source, DriverState& state)
      : source_(std::move(source)),
        thread_([this, &state] { source_->Run(state, stop_); }) {
    // Named, so that it can be told apart in a debugger, in top -H and in the tests.
    pthread_setname_np(thread_.native_handle(), kThreadName);
  }
  static constexpr const char* kThreadName = "pda-gps";
  SourceThread(const SourceThread&) = delete;
  SourceThread& operator=(const SourceThread&) = delete;
  ~SourceThread() {
    stop_.Raise();
    thread_.join();
  }

 private:
  StopSignal stop_;
  std::unique_ptr<Source> source_;
  std::thread thread_;
};

}  // namespace pda::gps
