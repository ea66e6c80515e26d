// The device's screen put on an X window straight from the screen surface: each rectangle goes
// from the surface into a request to the server (XPutImage), with no frame buffer of the
// window's own in between. SDL's window surface is such a frame buffer, a second full copy of
// the screen (in shared memory under X11); the back end uses it only where this painter does
// not apply: a zoomed window, a window that is not on X, a visual that does not take the
// surface's pixels as they are.
//
// Only the back end's thread uses a painter (x11_connection.h: no other thread calls into Xlib).
#pragma once

#include <memory>
#include <vector>

#include "gdi/pixels.h"
#include "pda/types.h"

struct SDL_Window;
struct _XDisplay;
struct _XGC;

namespace pda::backend::x11 {

class WindowPainter {
 public:
  // Null when the window is not on X, or its visual is not 24-bit TrueColor or DirectColor with
  // the red, green and blue masks of the surface's XRGB pixels.
  static std::unique_ptr<WindowPainter> Of(SDL_Window* window);
  ~WindowPainter();
  WindowPainter(const WindowPainter&) = delete;
  WindowPainter& operator=(const WindowPainter&) = delete;

  // Puts each rectangle of `pixels` at the same place in the window and sends the requests on.
  // False when Xlib refused the image's description (nothing was sent).
  bool Put(const gdi::Pixels& pixels, const std::vector<RECT>& rects) const;

 private:
  WindowPainter(_XDisplay* display, unsigned long window, _XGC* gc)
      : display_(display), window_(window), gc_(gc) {}
  _XDisplay* display_;    // SDL's; not owned
  unsigned long window_;  // SDL's; not owned
  _XGC* gc_;              // owned
};

}  // namespace pda::backend::x11
