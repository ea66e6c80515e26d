// The X server going away. Xlib meets a broken connection inside whatever call was reading or
// writing it and calls its I/O error handler there; that call takes Xlib's lock on the connection
// for good. When the handler returns, Xlib calls the connection's exit handler, whose default
// prints nothing more and calls exit from that thread, with every other thread still running.
//
// The handler installed here tells the back end. On the connection of SDL's window (given to
// WindowConnection::Of) the exit handler is replaced by one that returns: the call that met the
// break comes back having done nothing, and so does every later call on that connection, so the
// back-end thread ends its loop as it always does. A break met on a connection SDL has made no
// window on yet keeps the thread that met it waiting for good instead, as the default would
// otherwise end the process there. Either way the lock is the thread's for good: no other thread
// may call into Xlib on that connection (the back end wakes its thread by backend/wakeup.h).
#pragma once

#include <optional>

struct SDL_Window;
struct _XDisplay;

namespace pda::backend::x11 {

// Installs the handler for the whole process. `lost` runs once, on the thread that met the break
// (the back end's: it alone calls into SDL and Xlib), and is told whether that thread is kept
// for good (true) or comes back from Xlib (false).
void OnConnectionLost(void (*lost)(bool kept));

// SDL's connection to the X server, the one its window is on. Not owned: SDL closes it.
class WindowConnection {
 public:
  // Nothing when the window is not on X. From then on a break on this connection comes back
  // from Xlib (see above).
  static std::optional<WindowConnection> Of(SDL_Window* window);

  // The socket, which has something to read when the server sends an event or goes away.
  int fd() const;
  // Whether Xlib has read events from the socket that nobody has taken yet: waiting on the
  // socket would not see them.
  bool HasQueuedEvents() const;

 private:
  explicit WindowConnection(_XDisplay* display) : display_(display) {}
  _XDisplay* display_;
};

}  // namespace pda::backend::x11
