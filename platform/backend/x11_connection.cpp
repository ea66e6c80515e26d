// The X connection's I/O error handler and SDL's window connection (see x11_connection.h). Xlib
// is the one SDL loads: both name libX11.so.6, and the process has one copy of it.
#include "backend/x11_connection.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace pda::backend::x11 {
namespace {

std::atomic<void (*)()> g_lost{nullptr};

[[noreturn]] void WaitForGood() {
  std::mutex mutex;
  std::condition_variable never;
  std::unique_lock lock(mutex);
  for (;;) never.wait(lock);
}

int ConnectionBroken(Display*) {
  if (void (*lost)() = g_lost.exchange(nullptr)) lost();
  WaitForGood();
}

}  // namespace

void OnConnectionLost(void (*lost)()) {
  g_lost.store(lost);
  XSetIOErrorHandler(ConnectionBroken);
}

std::optional<WindowConnection> WindowConnection::Of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
  return WindowConnection(info.info.x11.display);
}

int WindowConnection::fd() const { return ConnectionNumber(display_); }

bool WindowConnection::HasPendingEvents() const { return XPending(display_) > 0; }

}  // namespace pda::backend::x11
