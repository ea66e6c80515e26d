// Internal entry points for bitmaps made from pixels the platform already has: the resource
// component's embedded art (PNG bytes) and the back ends' screenshots.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "gdi/pixels.h"
#include "pda/gdi.h"

namespace pda::gdi {

// A bitmap that owns the pixels; null when the table is full.
HBITMAP CreateBitmapFromPixels(Pixels pixels);
// A bitmap decoded from PNG bytes (any PNG colour type; transparency is composed over black,
// the platform's key colour); null when the bytes are not a PNG of a sane size.
HBITMAP CreateBitmapFromPng(std::span<const std::uint8_t> png);
// The pixels behind a bitmap handle, kept alive by the pointer; null for another handle.
std::shared_ptr<Pixels> BitmapPixels(HBITMAP bitmap);

}  // namespace pda::gdi
