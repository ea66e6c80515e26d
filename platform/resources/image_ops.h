// Pixel work the resource component needs beyond the drawing library: PNGs decoded with their
// alpha kept (icons), copies, and smooth scaling of premultiplied images.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "gdi/pixels.h"

namespace pda::resources {

// Premultiplied ARGB, alpha in the top byte. Nothing for bytes that are not a PNG.
std::optional<gdi::Pixels> DecodePngPremultiplied(std::span<const std::uint8_t> png);
// An exact copy, top byte included.
std::optional<gdi::Pixels> CopyPixels(const gdi::Pixels& source);
// Each output pixel is the area-weighted mean of the source pixels it covers (all four bytes),
// which is right for premultiplied colour in both directions of scaling.
std::optional<gdi::Pixels> ScalePixels(const gdi::Pixels& source, int width, int height);

}  // namespace pda::resources
