// The back-end thread's wake-up (see wakeup.h).
#include "backend/wakeup.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

namespace pda::backend {

std::optional<Wakeup> Wakeup::Open() {
  const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) return std::nullopt;
  return Wakeup(fd);
}

Wakeup::Wakeup(Wakeup&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

Wakeup& Wakeup::operator=(Wakeup&& other) noexcept {
  std::swap(fd_, other.fd_);  // this one's old descriptor closes with `other`
  return *this;
}

Wakeup::~Wakeup() {
  if (fd_ >= 0) ::close(fd_);
}

void Wakeup::Signal() const {
  const std::uint64_t one = 1;
  // Only a counter at its limit refuses the write, and that counter already wakes the waiter.
  [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

Wakeup::Woken Wakeup::Wait(int other, int timeoutMs) const {
  pollfd fds[2] = {{fd_, POLLIN, 0}, {other, POLLIN, 0}};
  const nfds_t count = other >= 0 ? 2 : 1;
  int ready;
  do {
    ready = ::poll(fds, count, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return Woken::TimedOut;
  if (fds[0].revents & POLLIN) {
    std::uint64_t signals;
    [[maybe_unused]] const ssize_t read = ::read(fd_, &signals, sizeof signals);  // resets to 0
    return Woken::Signalled;
  }
  // A closed or failed connection (POLLHUP, POLLERR) is something to read too: its reader
  // finds out.
  return Woken::Readable;
}

}  // namespace pda::backend
