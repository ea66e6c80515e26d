// The X server going away. Xlib meets a broken connection inside whatever call was reading or
// writing it, calls its I/O error handler there, and ends the process when that handler returns
// (by the connection's exit handler, whose default calls exit from that thread, with every other
// thread still running). It also takes its lock on that connection for good, for the thread that
// met the break.
//
// The handler installed here never returns: it tells the back end and then keeps the thread that
// met the break waiting for good, so that the rest of the program can shut down as it always
// does. Letting the call come back instead (an exit handler that returns) is no way out: Xlib
// then answers every call on the connection with a failure, and SDL's X11 code goes on with
// what it got, such as a null modifier map it reads through. So no other thread may call into
// Xlib on SDL's connections at all: it could meet the break itself and be kept, or wait for the
// lock for good. The back end wakes its thread by backend/wakeup.h instead of SDL_PushEvent.
#pragma once

#include <optional>

struct SDL_Window;
struct _XDisplay;

namespace pda::backend::x11 {

// Installs the handler for the whole process; `lost` runs once, on the thread that met the break
// (the back end's, since only it calls into SDL and Xlib), before that thread is kept.
void OnConnectionLost(void (*lost)());

// SDL's connection to the X server, the one its window is on. Not owned: SDL closes it.
class WindowConnection {
 public:
  // Nothing when the window is not on X.
  static std::optional<WindowConnection> Of(SDL_Window* window);

  // The socket, which has something to read when the server sends an event or goes away.
  int fd() const;
  // Whether there are events nobody has taken yet, which waiting on the socket would not see:
  // read by Xlib or XCB already (a round trip reads the events that come before its reply).
  // Takes in what the socket has without waiting for more.
  bool HasPendingEvents() const;

 private:
  explicit WindowConnection(_XDisplay* display) : display_(display) {}
  _XDisplay* display_;
};

}  // namespace pda::backend::x11
