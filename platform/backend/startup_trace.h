// PDA_TRACE_STARTUP=1: the SDL back end tells, on standard error, when the first screen was
// presented, so start-up can be measured from outside without a window-manager round trip:
//   first-present-ms=<n>        since the process started (10 ms steps of the kernel's count)
//   first-present-clock-ms=<n>  CLOCK_MONOTONIC at that moment, for a caller that noted the
//                               same clock just before starting the program
// "The first screen" is the first present that covers at least half of the screen: the
// navigation bar or the menu bar alone do not count, the application's first paint does.
#pragma once

namespace pda::backend {

class StartupTrace {
 public:
  StartupTrace();
  // A present of `area` pixels on a screen of `screenArea` pixels.
  void Presented(long area, long screenArea);

 private:
  bool pending_;
};

}  // namespace pda::backend
