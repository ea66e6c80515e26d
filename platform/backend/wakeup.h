// The back-end thread's wake-up that goes through neither SDL nor the X connection: an eventfd
// that any thread signals and the back-end thread waits on, beside its display's connection.
//
// SDL's own wake-up (SDL_PushEvent while the back end waits in SDL_WaitEvent) makes the pushing
// thread write to the X server. A thread that does so just as the server goes away meets the
// broken connection itself, inside Xlib, where it can only be kept or end the process; and once
// another thread has met the break, Xlib's lock on that connection is never given back. So under
// X11 only the back-end thread touches Xlib, and the others wake it with this.
#pragma once

#include <optional>

namespace pda::backend {

class Wakeup {
 public:
  enum class Woken { Signalled, Readable, TimedOut };

  // Nothing when the system gives no eventfd.
  static std::optional<Wakeup> Open();
  Wakeup(Wakeup&& other) noexcept;
  Wakeup& operator=(Wakeup&& other) noexcept;
  Wakeup(const Wakeup&) = delete;
  Wakeup& operator=(const Wakeup&) = delete;
  ~Wakeup();

  // Any thread, never blocks: the next Wait returns Signalled (at once, if none is under way).
  // Signals given before that Wait make one wake-up.
  void Signal() const;
  // Blocks until signalled (the signal is then used up), `other` has something to read (a file
  // descriptor; -1 for none) or `timeoutMs` has passed (-1: no limit). A signal comes first
  // when both are there.
  Woken Wait(int other, int timeoutMs) const;

 private:
  explicit Wakeup(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace pda::backend
