// PDA_ZOOM: how many host pixels a device pixel takes in the SDL window (the device resolution
// is unchanged). "auto", the default, takes the largest whole zoom at which the window fits the
// desktop's usable area (the screen less its panels), and at least 1; a number forces it.
#pragma once

#include <optional>
#include <string_view>

#include "pda/types.h"

namespace pda::backend {

inline constexpr int kZoomAuto = 0;
inline constexpr int kMaxZoom = 16;
inline constexpr std::string_view kZoomForm =
    "auto (the largest whole zoom at which the window fits the desktop) | a whole number from 1 "
    "to 16";

// "auto" -> kZoomAuto; "1" .. "16" -> that number; nothing for anything else.
std::optional<int> ParseZoom(std::string_view text);

// The largest whole zoom, up to kMaxZoom, at which a device of `device` pixels fits in `usable`
// host pixels; 1 when not even that fits.
int FitZoom(SIZE usable, SIZE device);

}  // namespace pda::backend
