#include "backend/startup_trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <unistd.h>

namespace pda::backend {
namespace {

double ClockMs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Field 22 of /proc/self/stat is the start time in clock ticks since boot, on the clock that
// CLOCK_BOOTTIME reads. -1 when it cannot be read.
double SinceProcessStartMs() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char line[1024];
  const bool ok = std::fgets(line, sizeof line, f) != nullptr;
  std::fclose(f);
  if (!ok) return -1;
  const char* p = std::strrchr(line, ')');  // the command name may hold spaces
  unsigned long long start = 0;
  if (!p || std::sscanf(p + 1,
                        " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d"
                        " %*d %*d %llu",
                        &start) != 1)
    return -1;
  return ClockMs(CLOCK_BOOTTIME) -
         static_cast<double>(start) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

StartupTrace::StartupTrace() {
  const char* value = std::getenv("PDA_TRACE_STARTUP");
  pending_ = value && std::strcmp(value, "1") == 0;
}

void StartupTrace::Presented(long area, long screenArea) {
  if (!pending_ || area * 2 < screenArea) return;
  pending_ = false;
  std::fprintf(stderr, "first-present-ms=%.1f\nfirst-present-clock-ms=%.3f\n",
               SinceProcessStartMs(), ClockMs(CLOCK_MONOTONIC));
}

}  // namespace pda::backend
