// PNG reading and writing for pixel surfaces (libpng's simplified API): embedded art in,
// screenshots out.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gdi/pixels.h"

namespace pda::gdi {

// Nothing when the bytes are not a PNG or a side is outside 1..Pixels::kMaxSide. Transparent
// pixels are composed over black.
std::optional<Pixels> DecodePng(std::span<const std::uint8_t> png);
// An 8-bit RGB PNG of the surface (the unused top byte is left out). Empty on failure.
std::vector<std::uint8_t> EncodePng(const Pixels& pixels);
bool WritePngFile(const Pixels& pixels, const std::string& path);

}  // namespace pda::gdi
