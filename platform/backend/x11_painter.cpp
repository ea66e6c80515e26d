#include "backend/x11_painter.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdint>

namespace pda::backend::x11 {
namespace {

constexpr unsigned long kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

}  // namespace

std::unique_ptr<WindowPainter> WindowPainter::Of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  Display* display = info.info.x11.display;
  const Window xwindow = info.info.x11.window;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, xwindow, &attributes)) return nullptr;
  const Visual* visual = attributes.visual;
  // A 32-bit visual would read the pixels' unused top byte as alpha. Under DirectColor (Xvfb's
  // default) the pixels go through the window's colour map, as SDL's own would.
  const bool rgb = visual->c_class == TrueColor || visual->c_class == DirectColor;
  if (attributes.depth != 24 || !rgb || visual->red_mask != kRed ||
      visual->green_mask != kGreen || visual->blue_mask != kBlue)
    return nullptr;
  GC gc = XCreateGC(display, xwindow, 0, nullptr);
  if (!gc) return nullptr;
  return std::unique_ptr<WindowPainter>(new WindowPainter(display, xwindow, gc));
}

WindowPainter::~WindowPainter() { XFreeGC(display_, gc_); }

bool WindowPainter::Put(const gdi::Pixels& pixels, const std::vector<RECT>& rects) const {
  // The surface described as it lies in memory; Xlib copies what each request needs out of it
  // before XPutImage returns.
  XImage image{};
  image.width = pixels.width();
  image.height = pixels.height();
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels.data()));
  image.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = 32;
  image.depth = 24;
  image.bytes_per_line = pixels.stride();
  image.bits_per_pixel = 32;
  image.red_mask = kRed;
  image.green_mask = kGreen;
  image.blue_mask = kBlue;
  if (!XInitImage(&image)) return false;
  for (const RECT& r : rects)
    XPutImage(display_, window_, gc_, &image, r.left, r.top, r.left, r.top,
              static_cast<unsigned>(r.right - r.left), static_cast<unsigned>(r.bottom - r.top));
  XFlush(display_);
  return true;
}

}  // namespace pda::backend::x11
