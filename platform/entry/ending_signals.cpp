// EndingSignals (see ending_signals.h).
#include "entry/ending_signals.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "user/close_request.h"

namespace pda::entry {
namespace {

sigset_t EndingSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

EndingSignals::EndingSignals() {
  const sigset_t set = EndingSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signals_.reset(::signalfd(-1, &set, SFD_CLOEXEC));
  stop_.reset(::eventfd(0, EFD_CLOEXEC));
  if (signals_ && stop_) {
    watcher_ = std::thread([this] {
      pthread_setname_np(pthread_self(), "pda-signals");  // as ps and top show it
      Watch();
    });
  }
}

EndingSignals::~EndingSignals() {
  if (!watcher_.joinable()) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(stop_.get(), &one, sizeof one);
  watcher_.join();
}

void EndingSignals::Watch() {
  bool closing = false;
  for (;;) {
    pollfd fds[2] = {{signals_.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;  // EINTR
    if (fds[1].revents) return;
    signalfd_siginfo info{};
    if (::read(signals_.get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    const int signal = static_cast<int>(info.ssi_signo);
    // A second signal while shutting down, or one before any window exists: end now.
    if (closing || user::RequestApplicationClose() == 0) {
      std::fprintf(stderr, "%s: %s: ending at once\n", program_invocation_short_name,
                   ::strsignal(signal));
      ::_exit(128 + signal);
    }
    closing = true;
  }
}

}  // namespace pda::entry
