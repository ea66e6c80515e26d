// The driver thread's stop request (see stop_signal.h).
#include "stop_signal.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace pda::gps {

StopSignal::StopSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void StopSignal::Raise() {
  const std::uint64_t one = 1;
  // The counter only grows; a failed write can only mean it is already raised.
  [[maybe_unused]] ssize_t n = ::write(fd_.get(), &one, sizeof one);
}

bool StopSignal::Raised() const {
  pollfd p{fd_.get(), POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

StopSignal::Wake StopSignal::Wait(int fd, std::chrono::milliseconds timeout,
                                  bool writable) const {
  pollfd p[2] = {{fd_.get(), POLLIN, 0}, {fd, static_cast<short>(writable ? POLLOUT : POLLIN), 0}};
  const nfds_t n = fd >= 0 ? 2 : 1;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int ms = -1;
    if (timeout.count() >= 0) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      ms = static_cast<int>(std::max<long long>(0, left.count()));
    }
    const int r = ::poll(p, n, ms);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return Wake::Error;
    if (r == 0) return Wake::Timeout;
    if (p[0].revents) return Wake::Stop;
    return Wake::Ready;  // readable, hung up or in error: the source's read tells which
  }
}

}  // namespace pda::gps
