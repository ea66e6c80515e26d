// The host window's icon: the icon that stands for a top-level window of the program, handed to
// the desktop as an SDL surface (SDL_SetWindowIcon; on X11 it becomes _NET_WM_ICON).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "gdi/pixels.h"
#include "pda/user.h"

namespace pda::backend {

// The icon of a top-level window: its class's icon when the class has one; else the program's
// own, the largest image of its instance's lowest-numbered icon group, as the device's shell
// shows a program. Null when there is neither. Any thread.
std::shared_ptr<const gdi::Pixels> WindowIcon(HWND window);

// One pixel of an icon, premultiplied ARGB (as icons are kept for AlphaBlend), in the straight
// ARGB that window systems take: each colour divided by the alpha, rounded; 0 where the pixel
// is fully transparent.
std::uint32_t StraightAlpha(std::uint32_t premultiplied);

struct SdlSurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using UniqueSdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

// A new ARGB8888 surface of the icon's size holding its pixels in straight alpha; null when SDL
// cannot make one.
UniqueSdlSurface IconSurface(const gdi::Pixels& premultiplied);

}  // namespace pda::backend
