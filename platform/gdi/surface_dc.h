// The window system's seam into the drawing library: device contexts that draw onto a surface
// the caller owns (the screen), at an origin (a window's client area), inside a clip region in
// surface coordinates (the window's visible part). The drawing library knows nothing of windows;
// the window manager keeps origin and clip up to date and deletes the context when done.
#pragma once

#include <memory>

#include "gdi/pixels.h"
#include "gdi/region.h"
#include "pda/gdi.h"

namespace pda::gdi {

// clip null: the whole surface. Null handle when surface is null or the table is full.
HDC CreateSurfaceDC(std::shared_ptr<Pixels> surface, POINT origin, const Region* clip);
// false when dc is not a surface context.
bool SetSurfaceDCOrigin(HDC dc, POINT origin);
bool SetSurfaceDCClip(HDC dc, const Region* clip);
// The same as DeleteDC; with `drawn`, tells what the context's drawing may have written
// (surface coordinates; empty when it drew nothing).
bool DeleteSurfaceDC(HDC dc, Box* drawn = nullptr);

}  // namespace pda::gdi
